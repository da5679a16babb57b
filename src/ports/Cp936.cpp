#include "Cp936.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

// Length of the well-formed UTF-8 sequence at the front of text, or 0.
std::size_t sequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    const unsigned char second = length > 1 ? byte(1) : 0;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)   // overlong, surrogate
        || (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) // overlong, > U+10FFFF
        return 0;
    return length;
}

class Converter {
public:
    Converter() : handle_(iconv_open("CP936", "UTF-8"))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("code page 936 is not available on this system");
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // glibc's converter takes the Unicode tag characters (U+E0000 to
    // U+E007F) and writes nothing for them. The code page has no such
    // characters, so they are cut out here and sent as "?" like any other.
    void convert(std::string& out, std::string_view text)
    {
        std::size_t runStart = 0;
        for (std::size_t at = 0; at + 4 <= text.size();) {
            if (!isTagCharacter(text.substr(at, 4))) {
                ++at;
                continue;
            }
            convertRun(out, text.substr(runStart, at - runStart));
            out.push_back('?');
            at += 4;
            runStart = at;
        }
        convertRun(out, text.substr(runStart));
    }

private:
    // F3 A0 80 80 to F3 A0 81 BF. F3 is never a continuation byte, so a match
    // is a character of its own wherever it stands.
    static bool isTagCharacter(std::string_view bytes)
    {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
        return byte(0) == 0xF3 && byte(1) == 0xA0 && (byte(2) == 0x80 || byte(2) == 0x81) && (byte(3) & 0xC0) == 0x80;
    }

    void convertRun(std::string& out, std::string_view text)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        while (inLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t result = iconv(handle_, &in, &inLeft, &dst, &dstLeft);
            out.append(buffer, std::size_t(dst - buffer));
            if (result != std::size_t(-1) || errno == E2BIG)
                continue;
            // Not representable or not well-formed: one "?" for the character
            // (or for the one stray byte), then carry on after it.
            const std::size_t skip = sequenceLength(std::string_view(in, inLeft));
            out.push_back('?');
            in += skip == 0 ? 1 : skip;
            inLeft -= skip == 0 ? 1 : skip;
        }
    }

    iconv_t handle_;
};

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string encodeCp936(std::string_view utf8)
{
    std::string out;
    appendCp936(out, utf8);
    return out;
}

void appendCp936(std::string& out, std::string_view utf8)
{
    // ASCII is the same in code page 936; most printed lines are ASCII.
    if (isAscii(utf8)) {
        out.append(utf8);
        return;
    }
    thread_local Converter converter;
    converter.convert(out, utf8);
}
