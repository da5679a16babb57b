// Which port a test writes to, for both builds.
#include "PortTarget.h"

#include <gtest/gtest.h>

namespace {

struct SerialCase {
    std::string name;
    std::string text;
    bool shown;
    int offset;
    std::optional<std::pair<int, std::string>> expected;  // port number, device
};

class SerialResolution : public testing::TestWithParam<SerialCase> {};

TEST_P(SerialResolution, Resolves)
{
    const SerialCase& c = GetParam();
    const auto target = resolveSerial(c.text, c.shown, c.offset);
    if (!c.expected) {
        EXPECT_FALSE(target.has_value());
        return;
    }
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->portNumber, c.expected->first);
    EXPECT_EQ(target->deviceName, c.expected->second);
}

INSTANTIATE_TEST_SUITE_P(
    BothBuilds, SerialResolution,
    testing::Values(SerialCase{"Com1In9x", "COM1", true, 0, {{1, "com1"}}},
                    SerialCase{"Com4In9x", "COM4", true, 0, {{4, "com4"}}},
                    SerialCase{"Com1ThroughAlias", "COM1", true, 4, {{5, "com5"}}},
                    SerialCase{"Com3ThroughAlias", "COM3", true, 4, {{7, "com7"}}},
                    SerialCase{"Com4ThroughAlias", "COM4", true, 4, {{8, "com8"}}},
                    SerialCase{"HiddenList", "COM2", false, 0, std::nullopt},
                    SerialCase{"LowerCase", "com1", true, 0, std::nullopt},
                    SerialCase{"TrailingBlank", "COM1 ", true, 0, std::nullopt},
                    SerialCase{"LeadingBlank", " COM1", true, 4, std::nullopt},
                    SerialCase{"FifthPort", "COM5", true, 0, std::nullopt},
                    SerialCase{"Empty", "", true, 0, std::nullopt}),
    [](const auto& info) { return info.param.name; });

struct ParallelCase {
    std::string name;
    std::string text;
    bool shown;
    std::optional<std::string> expected;
};

class ParallelResolution : public testing::TestWithParam<ParallelCase> {};

TEST_P(ParallelResolution, Resolves)
{
    const auto target = resolveParallel(GetParam().text, GetParam().shown);
    if (!GetParam().expected) {
        EXPECT_FALSE(target.has_value());
        return;
    }
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->deviceName, *GetParam().expected);
    EXPECT_EQ(target->kind, PortKind::Parallel);
}

INSTANTIATE_TEST_SUITE_P(Names, ParallelResolution,
                         testing::Values(ParallelCase{"Lpt1", "LPT1", true, "lpt1:"},
                                         ParallelCase{"Lpt2", "LPT2", true, "lpt2:"},
                                         ParallelCase{"Lpt3", "LPT3", true, std::nullopt},
                                         ParallelCase{"Hidden", "LPT1", false, std::nullopt},
                                         ParallelCase{"LowerCase", "lpt1", true, std::nullopt},
                                         ParallelCase{"WithColon", "LPT1:", true, std::nullopt}),
                         [](const auto& info) { return info.param.name; });

} // namespace
