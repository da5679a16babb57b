// RepeatCount: the print test's "number of prints" text as a 16-bit count.
//
// Accepted: blanks (spaces or tabs) before and after, an optional sign, and
// decimal digits with an optional fractional part: "7", " 7 ", "+3", "-2",
// "2.5", "2.", ".5". The value is rounded to the nearest integer, halves to
// the even neighbour ("2.5" is 2, "3.5" is 4), and must then lie within
// -32768 to 32767. Nothing else is a number here: no exponent ("1e3"), no
// digit grouping ("1,000"), no hexadecimal or octal prefix, no full-width
// digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum class RepeatCountError { NotANumber, OutOfRange };

struct RepeatCountResult {
    std::optional<std::int16_t> count;
    RepeatCountError error = RepeatCountError::NotANumber;  // when there is no count
};

RepeatCountResult convertRepeatCount(std::string_view text);

// The count, or a Failure that names the text and says what to type.
std::int16_t parseRepeatCount(std::string_view text);
