#include "RepeatCount.h"

#include "Failure.h"

#include <string>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view takeDigits(std::string_view& text)
{
    std::size_t length = 0;
    while (length < text.size() && isDigit(text[length]))
        ++length;
    const std::string_view digits = text.substr(0, length);
    text.remove_prefix(length);
    return digits;
}

} // namespace

RepeatCountResult convertRepeatCount(std::string_view text)
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string_view whole = takeDigits(text);
    std::string_view fraction;
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        fraction = takeDigits(text);
    }
    if (!text.empty() || (whole.empty() && fraction.empty()))
        return {std::nullopt, RepeatCountError::NotANumber};

    // Work on the digits themselves, so that rounding is exact however many
    // digits were typed.
    while (!whole.empty() && whole.front() == '0')
        whole.remove_prefix(1);
    if (whole.size() > 6)
        return {std::nullopt, RepeatCountError::OutOfRange};
    long value = 0;
    for (char digit : whole)
        value = value * 10 + (digit - '0');
    if (!fraction.empty()) {
        const int first = fraction.front() - '0';
        const bool restNonZero = fraction.substr(1).find_first_not_of('0') != std::string_view::npos;
        if (first > 5 || (first == 5 && (restNonZero || value % 2 == 1)))
            ++value;
    }
    if (negative)
        value = -value;
    if (value < INT16_MIN || value > INT16_MAX)
        return {std::nullopt, RepeatCountError::OutOfRange};
    return {std::int16_t(value), RepeatCountError::NotANumber};
}

std::int16_t parseRepeatCount(std::string_view text)
{
    const RepeatCountResult result = convertRepeatCount(text);
    if (result.count)
        return *result.count;
    const std::string quoted = "\"" + std::string(text) + "\"";
    if (result.error == RepeatCountError::OutOfRange)
        throw Failure("The number of prints " + quoted
                      + " is out of range: it must lie between -32768 and 32767. Type or pick a smaller number.");
    throw Failure("The number of prints " + quoted
                  + " is not a number. Type or pick a whole number of lines, such as 1 or 20.");
}
