// The repeat-count text to a count or a failure.
#include "FailureOf.h"
#include "RepeatCount.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

struct CountCase {
    std::string name;
    std::string text;
    std::optional<int> count;  // none: NotANumber or OutOfRange below
    RepeatCountError error = RepeatCountError::NotANumber;
};

class RepeatCountConversion : public testing::TestWithParam<CountCase> {};

TEST_P(RepeatCountConversion, Converts)
{
    const CountCase& c = GetParam();
    const RepeatCountResult result = convertRepeatCount(c.text);
    if (c.count) {
        ASSERT_TRUE(result.count.has_value());
        EXPECT_EQ(*result.count, *c.count);
    } else {
        EXPECT_FALSE(result.count.has_value());
        EXPECT_EQ(result.error, c.error);
    }
}

constexpr auto kRange = RepeatCountError::OutOfRange;

INSTANTIATE_TEST_SUITE_P(
    Texts, RepeatCountConversion,
    testing::Values(
        CountCase{"Plain", "1", 1}, CountCase{"Twenty", "20", 20},
        CountCase{"BlanksAround", " 7 ", 7}, CountCase{"TabsAround", "\t7\t", 7},
        CountCase{"Zero", "0", 0}, CountCase{"Negative", "-3", -3}, CountCase{"PlusSign", "+4", 4},
        CountCase{"HalfToEvenDown", "2.5", 2}, CountCase{"HalfToEvenUp", "3.5", 4},
        CountCase{"NegativeHalf", "-2.5", -2}, CountCase{"AboveHalf", "2.51", 3},
        CountCase{"LongHalf", "2.50000000000000000001", 3}, CountCase{"BelowHalf", "2.4999", 2},
        CountCase{"NoWholePart", ".5", 0}, CountCase{"NoFraction", "5.", 5},
        CountCase{"LeadingZeros", "000000000012", 12}, CountCase{"NegativeZero", "-0.4", 0},
        CountCase{"Largest", "32767", 32767}, CountCase{"Smallest", "-32768", -32768},
        CountCase{"LargestByRounding", "32766.5", 32766}, CountCase{"SmallestByRounding", "-32768.5", -32768},
        CountCase{"Empty", "", std::nullopt}, CountCase{"OnlyBlanks", "   ", std::nullopt},
        CountCase{"Letters", "abc", std::nullopt}, CountCase{"TrailingLetters", "3x", std::nullopt},
        CountCase{"OnlySign", "-", std::nullopt}, CountCase{"OnlyPoint", ".", std::nullopt},
        CountCase{"BlankInside", "1 0", std::nullopt}, CountCase{"BlankAfterSign", "- 1", std::nullopt},
        CountCase{"Exponent", "1e3", std::nullopt}, CountCase{"Grouping", "1,000", std::nullopt},
        CountCase{"Hexadecimal", "0x10", std::nullopt}, CountCase{"TwoPoints", "1.2.3", std::nullopt},
        CountCase{"FullWidthDigits", "３", std::nullopt},
        CountCase{"JustAboveRange", "32768", std::nullopt, kRange},
        CountCase{"AboveRangeByRounding", "32767.5", std::nullopt, kRange},
        CountCase{"BelowRange", "-32769", std::nullopt, kRange},
        CountCase{"Huge", "99999999999999999999", std::nullopt, kRange}),
    [](const auto& info) { return info.param.name; });

TEST(RepeatCountFailure, NamesTheTextAndWhatToType)
{
    EXPECT_THAT(failureOf([] { parseRepeatCount("abc"); }), testing::HasSubstr("\"abc\" is not a number"));
    EXPECT_THAT(failureOf([] { parseRepeatCount("40000"); }), testing::HasSubstr("\"40000\" is out of range"));
    EXPECT_EQ(parseRepeatCount(" 7 "), 7);
}

} // namespace
