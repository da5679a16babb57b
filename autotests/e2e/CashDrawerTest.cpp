// The cash drawer test (开钱箱) as the operator runs it: the drawer stream
// reaches exactly the port chosen in the window, byte for byte, and nothing
// else is written anywhere.
//
// Every run of px9tester goes through a stand-in for /dev/ttyS0 (its COM1
// is the alias com5 -> /dev/ttyS0), so that no fault of the program can
// reach the machine's own serial port.
#include "TesterSession.h"

#include <map>
#include <termios.h>

namespace fs = std::filesystem;

namespace {

termios settingsOf(int fd)
{
    termios settings {};
    ::tcgetattr(fd, &settings);
    return settings;
}

// A pseudo-terminal with output processing on, as a serial port has it.
std::unique_ptr<PseudoTerminal> serialPort()
{
    auto port = std::make_unique<PseudoTerminal>();
    enableOutputProcessing(port->slave());
    return port;
}

struct SerialCase {
    std::string label;
    const Build* build;
    std::string typedPort;  // empty: the list keeps its first entry, "COM1"
    std::string receiver;   // "com1", "com2", or "ttyS0" (the stand-in)
};

void PrintTo(const SerialCase& test, std::ostream* out)
{
    *out << test.label;
}

class SerialCashDrawerTest : public DesktopTest, public ::testing::WithParamInterface<SerialCase> {};

TEST_P(SerialCashDrawerTest, SendsDrawerStreamUntranslatedToChosenPortOnly)
{
    const SerialCase& test = GetParam();
    std::map<std::string, std::unique_ptr<PseudoTerminal>> ports;
    for (const char* name : {"com1", "com2", "ttyS0"})
        ports[name] = serialPort();
    runtime_.link("com1", ports["com1"]->slavePath());
    runtime_.link("com2", ports["com2"]->slavePath());
    std::optional<std::string> ttyS0;
    if (reachesTtyS0(*test.build)) {
        if (const auto reason = privateTtyS0Unavailable(ports["ttyS0"]->slavePath()))
            GTEST_SKIP() << *reason;
        ttyS0 = ports["ttyS0"]->slavePath();
    }
    PseudoTerminal& receiver = *ports.at(test.receiver);
    const termios before = settingsOf(receiver.slave());
    ASSERT_EQ(before.c_oflag & (OPOST | ONLCR), tcflag_t(OPOST | ONLCR));

    TesterSession tester(desktop(), *test.build, runtime_.path(), ttyS0);
    ASSERT_TRUE(tester.showsWindow());
    tester.click("Option1");
    if (!test.typedPort.empty())
        tester.typeInto("Port", test.typedPort);
    tester.click("Command1");

    EXPECT_EQ(hexBytes(receiveStream(receiver, drawerStream().size())), hexBytes(drawerStream())) << tester.errorOutput();
    tester.click("Command5");
    EXPECT_TRUE(tester.exitsWith(0));
    for (const auto& [name, port] : ports) {
        if (name != test.receiver) {
            EXPECT_EQ(hexBytes(port->readAvailable(50ms)), "") << "written to " << name;
        }
    }

    // The port is handed back with the settings it had, output processing
    // included.
    const termios after = settingsOf(receiver.slave());
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
}

INSTANTIATE_TEST_SUITE_P(
    Ports, SerialCashDrawerTest,
    ::testing::Values(SerialCase{"px9tester9x_Com1", &px9tester9xBuild(), "", "com1"},
                      SerialCase{"px9tester9x_TypedCom2", &px9tester9xBuild(), "COM2", "com2"},
                      // COM1 is the alias com5, which the program itself links to /dev/ttyS0.
                      SerialCase{"px9tester_Com1ThroughAlias", &px9testerBuild(), "", "ttyS0"}),
    [](const auto& info) { return info.param.label; });

struct ParallelCase {
    std::string label;
    const Build* build;
    std::string typedLPort;  // empty: the list keeps its first entry, "LPT1"
    std::string receiver;    // "lpt1" or "lpt2"
};

void PrintTo(const ParallelCase& test, std::ostream* out)
{
    *out << test.label;
}

class ParallelCashDrawerTest : public DesktopTest, public ::testing::WithParamInterface<ParallelCase> {};

TEST_P(ParallelCashDrawerTest, SendsDrawerStreamToChosenPrinterOnly)
{
    const ParallelCase& test = GetParam();
    std::map<std::string, std::unique_ptr<Fifo>> printers;
    for (const char* name : {"lpt1", "lpt2"}) {
        printers[name] = std::make_unique<Fifo>(runtime_.path() / (std::string(name) + ".fifo"));
        runtime_.link(name, printers[name]->path());
    }
    const auto serial = serialPort();
    runtime_.link("com1", serial->slavePath());
    std::optional<std::string> ttyS0;
    if (reachesTtyS0(*test.build)) {
        if (const auto reason = privateTtyS0Unavailable(serial->slavePath()))
            GTEST_SKIP() << *reason;
        ttyS0 = serial->slavePath();
    }

    TesterSession tester(desktop(), *test.build, runtime_.path(), ttyS0);
    ASSERT_TRUE(tester.showsWindow());
    tester.click("Option2");
    if (!test.typedLPort.empty())
        tester.typeInto("LPort", test.typedLPort);
    tester.click("Command1");

    EXPECT_EQ(hexBytes(receiveStream(*printers.at(test.receiver), drawerStream().size())), hexBytes(drawerStream())) << tester.errorOutput();
    tester.click("Command5");
    EXPECT_TRUE(tester.exitsWith(0));
    for (const auto& [name, printer] : printers) {
        if (name != test.receiver) {
            EXPECT_EQ(hexBytes(printer->readAvailable(50ms)), "") << "written to " << name;
        }
    }
    EXPECT_EQ(hexBytes(serial->readAvailable(50ms)), "") << "written to the serial port";
}

INSTANTIATE_TEST_SUITE_P(
    Printers, ParallelCashDrawerTest,
    ::testing::Values(ParallelCase{"px9tester9x_Lpt1", &px9tester9xBuild(), "", "lpt1"},
                      ParallelCase{"px9tester9x_TypedLpt2", &px9tester9xBuild(), "LPT2", "lpt2"},
                      ParallelCase{"px9tester_Lpt1", &px9testerBuild(), "", "lpt1"}),
    [](const auto& info) { return info.param.label; });

struct PortTextCase {
    std::string label;
    std::string text;
};

void PrintTo(const PortTextCase& test, std::ostream* out)
{
    *out << test.label;
}

class PortTextTest : public DesktopTest, public ::testing::WithParamInterface<PortTextCase> {};

// A port list's text counts only when it names a port exactly; any other
// text is no port at all, which is not a failure either.
TEST_P(PortTextTest, SendsNothingWhenTextIsNotExactlyAPortName)
{
    const auto serial = serialPort();
    runtime_.link("com1", serial->slavePath());
    Fifo printer(runtime_.path() / "lpt1.fifo");
    runtime_.link("lpt1", printer.path());

    TesterSession tester(desktop(), px9tester9xBuild(), runtime_.path());
    ASSERT_TRUE(tester.showsWindow());
    tester.click("Option1");
    tester.typeInto("Port", GetParam().text);
    tester.click("Command1");

    // The clicks that follow are handled only if the program is still
    // running and no message box holds the window: the parallel test then
    // gets through.
    tester.click("Option2");
    tester.click("Command1");
    EXPECT_EQ(hexBytes(receiveStream(printer, drawerStream().size())), hexBytes(drawerStream())) << tester.errorOutput();
    EXPECT_TRUE(tester.running());
    tester.click("Command5");
    EXPECT_TRUE(tester.exitsWith(0));
    EXPECT_EQ(hexBytes(serial->readAvailable(50ms)), "");
    EXPECT_EQ(tester.errorOutput().find("px9tester9x:"), std::string::npos) << tester.errorOutput();
}

INSTANTIATE_TEST_SUITE_P(NotAPort, PortTextTest,
                         ::testing::Values(PortTextCase{"LowerCase", "com1"}, PortTextCase{"MixedCase", "Com1"},
                                           PortTextCase{"TrailingBlank", "COM1 "}),
                         [](const auto& info) { return info.param.label; });

} // namespace
