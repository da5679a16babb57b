// The print test (打印测试) as the operator runs it: the chosen line the
// chosen number of times, then six line feeds, on the chosen port; a serial
// port runs at the chosen speed and handshake. A repeat count that is not a
// number ends the program after one message box, with nothing sent.
#include "TesterSession.h"

#include <termios.h>

namespace {

const std::string kDefaultLine = "Welcome for you to use our products";

std::string printStream(const std::string& line, int count)
{
    std::string stream;
    for (int i = 0; i < count; ++i)
        stream += line + "\n";
    return stream + std::string(6, '\n');
}

class PrintTest : public DesktopTest {};

TEST_F(PrintTest, SerialPrintRunsAtTheChosenSpeedAndHandshake)
{
    PseudoTerminal port;
    enableOutputProcessing(port.slave());
    runtime_.link("com1", port.slavePath());

    TesterSession tester(desktop(), px9tester9xBuild(), runtime_.path());
    ASSERT_TRUE(tester.showsWindow());
    tester.click("Option1");
    tester.typeInto("Speed", "19200");
    tester.click("Hand");
    tester.typeInto("Turn", "3");
    tester.typeInto("Prin", "Line-1 ok");
    tester.click("Command3");

    const std::string expected = printStream("Line-1 ok", 3);
    EXPECT_EQ(hexBytes(receiveStream(port, expected.size())), hexBytes(expected)) << tester.errorOutput();
    tester.click("Command5");
    EXPECT_TRUE(tester.exitsWith(0));

    // The link leaves the port as it configured it.
    termios settings {};
    ::tcgetattr(port.slave(), &settings);
    EXPECT_EQ(::cfgetospeed(&settings), speed_t(B19200));
    EXPECT_NE(settings.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t(CS8));
}

TEST_F(PrintTest, ParallelPrintRoundsTheCountAndFeedsThePaper)
{
    Fifo printer(runtime_.path() / "lpt2.fifo");
    runtime_.link("lpt2", printer.path());
    PseudoTerminal ttyS0;  // stands in for the alias com5 -> /dev/ttyS0
    if (const auto reason = privateTtyS0Unavailable(ttyS0.slavePath()))
        GTEST_SKIP() << *reason;

    TesterSession tester(desktop(), px9testerBuild(), runtime_.path(), ttyS0.slavePath());
    ASSERT_TRUE(tester.showsWindow());
    tester.click("Option2");
    tester.typeInto("LPort", "LPT2");
    tester.typeInto("Turn", "2.5");
    tester.click("Command3");

    const std::string expected = printStream(kDefaultLine, 2);
    EXPECT_EQ(hexBytes(receiveStream(printer, expected.size())), hexBytes(expected)) << tester.errorOutput();
    tester.click("Command5");
    EXPECT_TRUE(tester.exitsWith(0));
    EXPECT_EQ(hexBytes(ttyS0.readAvailable(50ms)), "");
}

TEST_F(PrintTest, ACountThatIsNotANumberSendsNothingAndEnds)
{
    PseudoTerminal port;
    runtime_.link("com1", port.slavePath());

    TesterSession tester(desktop(), px9tester9xBuild(), runtime_.path());
    ASSERT_TRUE(tester.showsWindow());
    tester.click("Option1");
    tester.typeInto("Turn", "abc");
    tester.click("Command3");

    const auto box = tester.waitForMessageBox("px9tester9x");
    ASSERT_TRUE(box) << tester.errorOutput();
    tester.dismissMessageBox(*box);
    EXPECT_TRUE(tester.exitsWith(1));
    EXPECT_NE(tester.errorOutput().find("\"abc\" is not a number"), std::string::npos) << tester.errorOutput();
    EXPECT_EQ(hexBytes(port.readAvailable(50ms)), "");
}

} // namespace
