// The cash drawer test from the window's state to the bytes on the device.
#include "CashDrawerTest.h"
#include "Failure.h"
#include "PrinterTests.h"
#include "TestDevices.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

const std::string kDrawerStream = std::string("\x1B\x70\x00\x3C\xFF", 5)
    + "\xC7\xAE\xCF\xE4\xB4\xF2\xBF\xAA\xB3\xC9\xB9\xA6\xA3\xAC\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3"
      "Kestrova\xB4\xF2\xD3\xA1\xCF\xB5\xC1\xD0\n\n";

// A window in both builds, its serial ports com1..com8 and lpt1/lpt2 on
// devices of the test's own.
class CashDrawer : public testing::TestWithParam<int> {
protected:
    CashDrawer()
    {
        for (int port = 1; port <= 8; ++port) {
            serial.push_back(std::make_unique<PseudoTerminal>());
            runtime.link("com" + std::to_string(port), serial.back()->slavePath());
        }
        for (int port = 1; port <= 2; ++port) {
            parallel.push_back(std::make_unique<Fifo>(runtime.path() / ("lp" + std::to_string(port))));
            runtime.link("lpt" + std::to_string(port), parallel.back()->path());
        }
        window.load();
    }

    // Everything each device received, com1..com8 then lpt1, lpt2.
    std::vector<std::string> received()
    {
        std::vector<std::string> all;
        for (auto& pty : serial)
            all.push_back(pty->readAvailable(std::chrono::milliseconds(20)));
        for (auto& fifo : parallel)
            all.push_back(fifo->readAvailable(std::chrono::milliseconds(20)));
        return all;
    }

    std::vector<std::string> onlyOn(std::size_t index, const std::string& bytes)
    {
        std::vector<std::string> expected(10);
        expected[index] = bytes;
        return expected;
    }

    int offset() const { return GetParam(); }
    void run() { runCashDrawerTest(window, PrinterPorts{DeviceFolder::forCurrentUser(), offset()}); }

    ScratchRuntimeDir runtime;
    std::vector<std::unique_ptr<PseudoTerminal>> serial;
    std::vector<std::unique_ptr<Fifo>> parallel;
    WindowModel window;
};

TEST_P(CashDrawer, SerialPortGetsTheStreamInEachBuild)
{
    window.clickOption1();
    window.editText(window.Port, "COM4");
    run();
    EXPECT_EQ(received(), onlyOn(3 + std::size_t(offset()), kDrawerStream));
}

TEST_P(CashDrawer, ParallelPortGetsTheStreamOnly)
{
    window.clickOption2();
    window.editText(window.LPort, "LPT2");
    run();
    EXPECT_EQ(received(), onlyOn(9, kDrawerStream));
}

TEST_P(CashDrawer, TwoClicksSendTheWholeStreamTwice)
{
    window.clickOption1();
    run();
    run();
    EXPECT_EQ(received(), onlyOn(std::size_t(offset()), kDrawerStream + kDrawerStream));
}

TEST_P(CashDrawer, TextsThatNameNoPortSendNothing)
{
    for (const char* text : {"com1", "COM1 ", "COM5", ""}) {
        window.clickOption1();
        window.editText(window.Port, text);
        run();
        window.clickOption2();
        window.editText(window.LPort, "LPT3");
        run();
    }
    EXPECT_EQ(received(), std::vector<std::string>(10));
}

TEST_P(CashDrawer, BeforeAPortTypeIsChosenNothingIsSent)
{
    run();
    EXPECT_EQ(received(), std::vector<std::string>(10));
}

INSTANTIATE_TEST_SUITE_P(Builds, CashDrawer, testing::Values(0, 4),
                         [](const auto& info) { return info.param == 0 ? "px9tester9x" : "px9tester"; });

TEST(CashDrawerFailure, AMissingDeviceIsReportedThroughTheWindow)
{
    ScratchRuntimeDir runtime;
    runtime.link("com2", runtime.path() / "unplugged");
    PrinterTests tests(PrinterPorts{DeviceFolder::forCurrentUser(), 0});
    WindowModel window;
    tests.attachTo(window);
    std::string report;
    window.setFailureHandler([&](const std::string& message) { report = message; });
    window.load();
    window.clickOption1();
    window.editText(window.Port, "COM2");
    window.clickCommand1();
    EXPECT_THAT(report, testing::StartsWith("Cash drawer test failed.\n\nCould not open com2 ("));
    EXPECT_THAT(report, testing::HasSubstr("unplugged"));
}

TEST(CashDrawerStartUp, DefinesTheAliasesOnLoad)
{
    ScratchRuntimeDir runtime;
    PrinterTests tests(PrinterPorts{DeviceFolder::forCurrentUser(), 4});
    WindowModel window;
    tests.attachTo(window);
    window.load();
    EXPECT_EQ(std::filesystem::read_symlink(runtime.deviceFolder() / "com8"), "/dev/ttyS3");
}

} // namespace
