// Fuzz target for the text sent to the printer. The input bytes are taken as
// the window's UTF-8 text, ill-formed or not; inputs whose length is a
// multiple of 32 are repeated past 64 KiB, so that conversions cross the
// encoder's buffer many times over. The encoder must produce, place by place,
// what this target works out on its own: the code page 936 bytes of each
// character the code page has (encoded alone, and decoding back to that
// character), "?" for each character it lacks and for each byte that is not
// part of a well-formed UTF-8 sequence. Decoding the whole output back must
// give the input with exactly those "?".
#include "Cp936.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iconv.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

void printBytes(const char* label, std::string_view bytes, std::size_t from)
{
    std::fprintf(stderr, "  %s:", label);
    for (std::size_t i = from; i < bytes.size() && i < from + 8; ++i)
        std::fprintf(stderr, " %02X", unsigned(static_cast<unsigned char>(bytes[i])));
    std::fprintf(stderr, "\n");
}

[[noreturn]] void fail(const char* what, std::string_view text, std::size_t at)
{
    std::fprintf(stderr, "%s, at input byte %zu of %zu\n", what, at, text.size());
    printBytes("input from there", text, at);
    std::abort();
}

// Length of the well-formed UTF-8 character at text[at], or 0: decodes the
// code point and rejects overlong forms, surrogates and values past U+10FFFF.
std::size_t characterLength(std::string_view text, std::size_t at)
{
    const unsigned lead = static_cast<unsigned char>(text[at]);
    std::size_t length;
    char32_t point, smallest;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0) { length = 2; point = lead & 0x1F; smallest = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; point = lead & 0x0F; smallest = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; point = lead & 0x07; smallest = 0x10000; }
    else return 0;
    if (text.size() - at < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned next = static_cast<unsigned char>(text[at + i]);
        if (next < 0x80 || next > 0xBF)
            return 0;
        point = point << 6 | (next & 0x3F);
    }
    if (point < smallest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

// One glibc conversion, separate from the production encoder's.
class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            std::fprintf(stderr, "iconv cannot convert %s to %s\n", from, to);
            std::abort();
        }
    }

    // The converted text, or false when any of it cannot be converted.
    bool convert(std::string_view in, std::string& out)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        out.assign(in.size() * 4 + 16, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        const bool ok = iconv(handle_, &src, &srcLeft, &dst, &dstLeft) != std::size_t(-1)
                        && iconv(handle_, nullptr, nullptr, &dst, &dstLeft) != std::size_t(-1);
        out.resize(out.size() - dstLeft);
        return ok && srcLeft == 0;
    }

private:
    iconv_t handle_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Iconv toCp936("CP936", "UTF-8");
    static Iconv fromCp936("UTF-8", "CP936");

    std::string text(reinterpret_cast<const char*>(data), size);
    if (size > 0 && size % 32 == 0)
        while (text.size() <= 64 * 1024)
            text.append(reinterpret_cast<const char*>(data), size);

    const std::string encoded = encodeCp936(text);

    // Whether the code page has a character, and its bytes there: it must
    // encode alone and decode back to itself. A character's bytes recur at
    // the same offset of every copy of repeated input, so the answer is kept
    // per offset in the copy and length.
    struct Verdict {
        bool known = false, has = false;
        std::string bytes;
    };
    std::vector<Verdict> verdicts(size * 4);
    std::string back;
    const auto verdictFor = [&](std::size_t at, std::size_t length) -> const Verdict& {
        static Verdict spanning;
        const bool inOneCopy = at / size == (at + length - 1) / size;
        Verdict& verdict = inOneCopy ? verdicts[at % size * 4 + length - 1] : spanning;
        if (!verdict.known || !inOneCopy) {
            const std::string_view character(text.data() + at, length);
            verdict.known = true;
            verdict.has = toCp936.convert(character, verdict.bytes) && fromCp936.convert(verdict.bytes, back)
                          && back == character;
        }
        return verdict;
    };

    // What the input must become, place by place, and the input as it must
    // come back from the printer's side.
    std::string expected, shown;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = characterLength(text, at);
        const Verdict* verdict = length == 0 ? nullptr : &verdictFor(at, length);
        const std::size_t before = expected.size();
        if (verdict && verdict->has) {
            expected += verdict->bytes;
            shown.append(text, at, length);
        } else {
            expected += '?';
            shown += '?';
        }
        if (expected.size() > encoded.size()
            || encoded.compare(before, expected.size() - before, expected, before) != 0) {
            printBytes("expected from there", expected, before);
            printBytes("encodeCp936 gave", encoded, before);
            fail("encodeCp936 differs from the character-by-character encoding", text, at);
        }
        at += length == 0 ? 1 : length;
    }
    if (encoded.size() != expected.size())
        fail("encodeCp936 output is longer than the character-by-character encoding", text, text.size());
    if (!fromCp936.convert(encoded, back))
        fail("encodeCp936 output does not decode as code page 936", text, 0);
    if (back != shown)
        fail("encodeCp936 output does not decode to the input with \"?\" for what is missing", text, 0);

    std::string collected = "\x1b@";
    appendCp936(collected, text);
    if (collected.compare(0, 2, "\x1b@") != 0 || std::string_view(collected).substr(2) != encoded)
        fail("appendCp936 does not append what encodeCp936 returns", text, 0);
    return 0;
}
