// Known answers for the printer's text encoding.
#include "Cp936.h"

#include <gtest/gtest.h>

namespace {

struct EncodingCase {
    std::string name;
    std::string text;
    std::string bytes;
};

class Encoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(Encoding, KnownAnswer)
{
    EXPECT_EQ(encodeCp936(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Encoding,
    testing::Values(
        EncodingCase{"Ascii", "Welcome for you to use our products", "Welcome for you to use our products"},
        EncodingCase{"ControlBytesPass", std::string("a\n\x1b\0b", 5), std::string("a\n\x1b\0b", 5)},
        EncodingCase{"DrawerConfirmation", "钱箱打开成功，欢迎使用Kestrova打印系列",
                     "\xC7\xAE\xCF\xE4\xB4\xF2\xBF\xAA\xB3\xC9\xB9\xA6\xA3\xAC\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3"
                     "Kestrova\xB4\xF2\xD3\xA1\xCF\xB5\xC1\xD0"},
        EncodingCase{"EuroSign", "€", "\x80"},
        EncodingCase{"MissingCharacterBecomesQuestionMark", "a😀b", "a?b"},
        EncodingCase{"EachMissingCharacterOnce", "ሀሁ", "??"},
        EncodingCase{"TagCharactersAreMissingToo", "x\U000E0020y\U000E007F", "x?y?"},
        EncodingCase{"LoneSurrogateBytes", "x\xED\xA0\x80y", "x???y"},
        EncodingCase{"CutSequenceAtEnd", "ok\xE6\xAC", "ok??"},
        EncodingCase{"Empty", "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(Encoding, LongTextConvertsWhole)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "打印机";
    EXPECT_EQ(encodeCp936(text).size(), 5000u * 6);
}

} // namespace
