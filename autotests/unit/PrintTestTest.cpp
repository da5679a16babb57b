// The print test from the window's state to the bytes on the device.
#include "CashDrawerTest.h"
#include "Cp936.h"
#include "FailureOf.h"
#include "PrintTest.h"
#include "TestDevices.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using testing::HasSubstr;

namespace {

std::string printStream(const std::string& lineBytes, int lines)
{
    std::string stream;
    for (int i = 0; i < lines; ++i)
        stream += lineBytes + "\n";
    return stream + std::string(6, '\n');
}

// A window on com2 and lpt1, each a device of the test's own.
class PrintTestFixture : public testing::Test {
protected:
    PrintTestFixture()
    {
        runtime.link("com2", serialPort.slavePath());
        runtime.link("lpt1", printerPort.path());
        window.load();
    }

    void chooseSerial()
    {
        window.clickOption1();
        window.editText(window.Port, "COM2");
    }

    void run(int offset = 0)
    {
        runPrintTest(window, PrinterPorts{DeviceFolder::forCurrentUser(), offset, 2s}, control);
    }


    ScratchRuntimeDir runtime;
    PseudoTerminal serialPort;
    Fifo printerPort{runtime.path() / "lp0"};
    WindowModel window;
    MSComm control{DeviceFolder::forCurrentUser(), 2s};
};

struct StreamCase {
    std::string name;
    bool serial;
    std::string count;
    std::string text;
    int lines;
};

class PrintStreams : public PrintTestFixture, public testing::WithParamInterface<StreamCase> {};

TEST_P(PrintStreams, LinesThenFeed)
{
    const StreamCase& c = GetParam();
    if (c.serial)
        chooseSerial();
    else
        window.clickOption2();
    window.editText(window.Turn, c.count);
    window.editText(window.Prin, c.text);
    run();
    const std::string expected = printStream(encodeCp936(c.text), c.lines);
    EXPECT_EQ(serialPort.readAvailable(), c.serial ? expected : "");
    EXPECT_EQ(printerPort.readAvailable(), c.serial ? "" : expected);
}

const std::string kDefaultText = "Welcome for you to use our products";
const std::string kChinese = "欢迎使用Kestrova有限公司打印机";
const std::string kMixed = "价格：￥12.50，谢谢！€ 😀";

INSTANTIATE_TEST_SUITE_P(
    CountsAndTexts, PrintStreams,
    testing::Values(StreamCase{"SerialDefault", true, "1", kDefaultText, 1},
                    StreamCase{"ParallelDefault", false, "1", kDefaultText, 1},
                    StreamCase{"SerialTwentyChinese", true, "20", kChinese, 20},
                    StreamCase{"ParallelTwentyChinese", false, "20", kChinese, 20},
                    StreamCase{"SerialPunctuationAndMissing", true, "3", kMixed, 3},
                    StreamCase{"ParallelPunctuationAndMissing", false, "3", kMixed, 3},
                    StreamCase{"SerialZero", true, "0", kDefaultText, 0},
                    StreamCase{"ParallelNegative", false, "-5", kDefaultText, 0},
                    StreamCase{"HalfRoundsDown", true, "2.5", kDefaultText, 2},
                    StreamCase{"HalfRoundsUp", false, "3.5", kDefaultText, 4},
                    StreamCase{"Blanks", true, " 7 ", kDefaultText, 7},
                    StreamCase{"EmptyLine", false, "2", "", 2}),
    [](const auto& info) { return info.param.name; });

TEST_F(PrintTestFixture, DefaultTextIs35BytesAndSevenLineFeeds)
{
    window.clickOption2();
    run();
    EXPECT_EQ(printerPort.readAvailable(), kDefaultText + std::string(7, '\n'));
    ASSERT_EQ(kDefaultText.size(), 35u);
}

// Run on the parallel port: the aliases point at the machine's own serial
// devices, which no test opens.
TEST_F(PrintTestFixture, AliasesAreDefinedAgainOnEveryPrintTest)
{
    std::filesystem::remove(runtime.deviceFolder() / "com7");
    window.clickOption2();
    run(4);
    EXPECT_EQ(std::filesystem::read_symlink(runtime.deviceFolder() / "com7"), "/dev/ttyS2");
    EXPECT_EQ(std::filesystem::read_symlink(runtime.deviceFolder() / "com6"), "/dev/ttyS1");
    EXPECT_EQ(printerPort.readAvailable(), printStream(kDefaultText, 1));
}

TEST_F(PrintTestFixture, HandshakeOnlyWhenHandIsEnabledAndSelected)
{
    chooseSerial();
    EXPECT_EQ(handshakeChosen(window), Handshake::None);
    window.clickHandshake(window.Hand);
    EXPECT_EQ(handshakeChosen(window), Handshake::RtsCts);
    window.editText(window.Speed, "19200");
    run();
    termios settings {};
    ::tcgetattr(serialPort.slave(), &settings);
    EXPECT_EQ(::cfgetospeed(&settings), speed_t(B19200));
    EXPECT_NE(settings.c_cflag & CRTSCTS, 0u);
    window.Hand.enabled = false;
    EXPECT_EQ(handshakeChosen(window), Handshake::None);
}

struct RefusalCase {
    std::string name;
    bool serial;
    std::string count;
    std::string speed;
    std::string mentions;
};

class PrintRefusals : public PrintTestFixture, public testing::WithParamInterface<RefusalCase> {};

TEST_P(PrintRefusals, NothingIsSent)
{
    const RefusalCase& c = GetParam();
    if (c.serial)
        chooseSerial();
    else
        window.clickOption2();
    window.editText(window.Turn, c.count);
    window.editText(window.Speed, c.speed);
    EXPECT_THAT(failureOf([&] { run(); }), HasSubstr(c.mentions));
    EXPECT_EQ(serialPort.readAvailable(), "");
    EXPECT_EQ(printerPort.readAvailable(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PrintRefusals,
    testing::Values(RefusalCase{"EmptyCount", true, "", "9600", "\"\" is not a number"},
                    RefusalCase{"LettersCount", false, "abc", "9600", "\"abc\" is not a number"},
                    RefusalCase{"CountTooLarge", true, "32768", "9600", "out of range"},
                    RefusalCase{"CountTooSmall", false, "-40000", "9600", "out of range"},
                    RefusalCase{"EmptySpeed", true, "1", "", "the speed \"\""},
                    RefusalCase{"SpeedWithBlank", true, "1", "9600 ", "the speed \"9600 \""},
                    RefusalCase{"SpeedNotInTable", true, "1", "12345", "the speed \"12345\""}),
    [](const auto& info) { return info.param.name; });

TEST_F(PrintTestFixture, TestsInTurnEachOpenAndCloseThePort)
{
    chooseSerial();
    window.clickHandshake(window.Hand);
    run();
    run();
    runCashDrawerTest(window, PrinterPorts{DeviceFolder::forCurrentUser(), 0});
    run();
    const std::string line = printStream(kDefaultText, 1);
    const std::string drawer = std::string(kDrawerKick) + encodeCp936(kDrawerConfirmation) + "\n\n";
    EXPECT_EQ(serialPort.readAvailable(), line + line + drawer + line);
    EXPECT_FALSE(control.PortOpen());
}

// The largest count prints every line, then the feed, and ends normally.
TEST_F(PrintTestFixture, LargestCountPrintsEveryLineAndTheFeed)
{
    const std::string expected = printStream(kDefaultText, 32767);
    for (const bool serial : {true, false}) {
        if (serial)
            chooseSerial();
        else
            window.clickOption2();
        window.editText(window.Turn, "32767");
        std::string received;
        std::thread reader([&] {
            received = serial ? serialPort.readExactly(expected.size(), 60s)
                              : printerPort.readExactly(expected.size(), 60s);
        });
        run();
        reader.join();
        EXPECT_EQ(received.size(), expected.size());
        EXPECT_TRUE(received == expected);
        EXPECT_FALSE(control.PortOpen());
    }
}

} // namespace
