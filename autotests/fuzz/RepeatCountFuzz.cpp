// Fuzz target for the print test's "number of prints" text. Every input is
// checked against a slow reference built from the rules in RepeatCount.h: a
// character-class state machine for the syntax, and rounding decided by
// comparing digit strings, so no value is ever formed from more digits than
// an int holds. Any disagreement, in the count or in the kind of failure,
// aborts.
#include "Failure.h"
#include "RepeatCount.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

enum class Kind { Count, NotANumber, OutOfRange };

struct Outcome {
    Kind kind = Kind::NotANumber;
    int count = 0;
};

enum class Class { Blank, Sign, Digit, Point, Other };
enum class State { Lead, Signed, Whole, Fraction, Trail };

Class classOf(char c)
{
    switch (c) {
    case ' ': case '\t': return Class::Blank;
    case '+': case '-': return Class::Sign;
    case '.': return Class::Point;
    case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9': return Class::Digit;
    default: return Class::Other;
    }
}

Outcome reference(std::string_view text)
{
    State state = State::Lead;
    bool negative = false;
    std::string whole, fraction;
    for (const char c : text) {
        const Class cls = classOf(c);
        switch (state) {
        case State::Lead:
            if (cls == Class::Blank) break;
            if (cls == Class::Sign) { negative = c == '-'; state = State::Signed; break; }
            [[fallthrough]];
        case State::Signed:
            if (cls == Class::Digit) { whole += c; state = State::Whole; break; }
            if (cls == Class::Point) { state = State::Fraction; break; }
            return {};
        case State::Whole:
            if (cls == Class::Digit) { whole += c; break; }
            if (cls == Class::Point) { state = State::Fraction; break; }
            if (cls == Class::Blank) { state = State::Trail; break; }
            return {};
        case State::Fraction:
            if (cls == Class::Digit) { fraction += c; break; }
            if (cls == Class::Blank) { state = State::Trail; break; }
            return {};
        case State::Trail:
            if (cls == Class::Blank) break;
            return {};
        }
    }
    if (whole.empty() && fraction.empty())
        return {};

    const std::size_t significant = whole.find_first_not_of('0');
    whole.erase(0, significant == std::string::npos ? whole.size() : significant);
    fraction.erase(fraction.find_last_not_of('0') + 1);  // npos + 1 == 0: all zeros
    // Six or more significant whole digits are at least 100000, far outside
    // the range whatever the rounding.
    if (whole.size() > 5)
        return {Kind::OutOfRange, 0};
    int value = 0;
    for (const char digit : whole)
        value = value * 10 + (digit - '0');
    // With trailing zeros gone, the fraction compares with one half exactly
    // as its digit string compares with "5".
    const int half = fraction.compare("5");
    if (half > 0 || (half == 0 && value % 2 != 0))
        ++value;
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return {Kind::OutOfRange, 0};
    return {Kind::Count, value};
}

const char* nameOf(Kind kind)
{
    return kind == Kind::Count ? "a count" : kind == Kind::NotANumber ? "not a number" : "out of range";
}

[[noreturn]] void disagree(std::string_view text, const Outcome& got, const Outcome& want)
{
    std::fprintf(stderr, "convertRepeatCount(\"%.*s\") gave %s %d, the reference %s %d\n", int(text.size()),
                 text.data(), nameOf(got.kind), got.count, nameOf(want.kind), want.count);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Outcome want = reference(text);

    const RepeatCountResult result = convertRepeatCount(text);
    Outcome got;
    if (result.count)
        got = {Kind::Count, *result.count};
    else
        got = {result.error == RepeatCountError::OutOfRange ? Kind::OutOfRange : Kind::NotANumber, 0};
    if (got.kind != want.kind || got.count != want.count)
        disagree(text, got, want);

    // The window goes through parseRepeatCount: the same count, or a failure
    // whose message says which kind it is. (The message is read through
    // what(), which ends at a NUL byte; such texts are only converted.)
    if (text.find('\0') != std::string_view::npos)
        return 0;
    try {
        const int count = parseRepeatCount(text);
        if (want.kind != Kind::Count || count != want.count)
            disagree(text, {Kind::Count, count}, want);
    } catch (const Failure& failure) {
        // The message quotes the text, then says which kind of failure.
        const std::string quoted = "The number of prints \"" + std::string(text) + "\" ";
        const std::string message = failure.what();
        const std::string_view kind = std::string_view(message).substr(std::min(message.size(), quoted.size()));
        const std::string_view says = want.kind == Kind::OutOfRange ? "is out of range" : "is not a number";
        if (want.kind == Kind::Count || message.compare(0, quoted.size(), quoted) != 0 || !kind.starts_with(says)) {
            std::fprintf(stderr, "parseRepeatCount failure does not match %s: %s\n", nameOf(want.kind), message.c_str());
            std::abort();
        }
    }
    return 0;
}
