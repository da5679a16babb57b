// Serial links on pseudo-terminals: the settings text, what the port really
// runs at, and the faults of a link.
#include "FailureOf.h"
#include "SerialLink.h"
#include "TestDevices.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace std::chrono_literals;
using testing::HasSubstr;

namespace {

struct SettingsCase {
    std::string name;
    std::string text;
    int bitsPerSecond;  // 0: refused
    std::string mentions = {};
};

class SettingsText : public testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsText, AcceptsOnlyStandardSpeeds)
{
    const SettingsCase& c = GetParam();
    if (c.bitsPerSecond) {
        const SerialSettings settings = parseSerialSettings(c.text);
        EXPECT_EQ(settings.bitsPerSecond, c.bitsPerSecond);
        EXPECT_EQ(settings.parity, 'N');
        EXPECT_EQ(settings.dataBits, 8);
        EXPECT_EQ(settings.stopBits, 1);
        return;
    }
    try {
        parseSerialSettings(c.text);
        ADD_FAILURE() << "accepted " << c.text;
    } catch (const Failure& failure) {
        EXPECT_THAT(failure.what(), HasSubstr("\"" + c.text + "\""));
        EXPECT_THAT(failure.what(), HasSubstr(c.mentions));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, SettingsText,
    testing::Values(SettingsCase{"Slowest", "110,N,8,1", 110}, SettingsCase{"Default", "9600,N,8,1", 9600},
                    SettingsCase{"Second", "19200,N,8,1", 19200}, SettingsCase{"Fastest", "115200,N,8,1", 115200},
                    SettingsCase{"Empty", ",N,8,1", 0, "the speed \"\""},
                    SettingsCase{"Letters", "abc,N,8,1", 0, "the speed \"abc\""},
                    SettingsCase{"TrailingBlank", "9600 ,N,8,1", 0, "the speed \"9600 \""},
                    SettingsCase{"NotInTable", "14400,N,8,1", 0, "9600, 19200"},
                    SettingsCase{"TooFast", "230400,N,8,1", 0, "115200"},
                    SettingsCase{"LeadingZero", "09600,N,8,1", 0, "speed"},
                    SettingsCase{"CommaInSpeed", "9,600,N,8,1", 0, "such as 9600,N,8,1"}),
    [](const auto& info) { return info.param.name; });

class SerialLinkOnPty : public testing::Test {
protected:
    SerialLinkOnPty() { runtime.link("com2", pty.slavePath()); }

    termios slaveSettings() const
    {
        termios settings {};
        ::tcgetattr(pty.slave(), &settings);
        return settings;
    }

    ScratchRuntimeDir runtime;
    PseudoTerminal pty;
    MSComm control{DeviceFolder::forCurrentUser(), 300ms};
};

struct LineCase {
    std::string speed;
    Handshake handshake;
    speed_t code;
};

class SerialLineSettings : public SerialLinkOnPty, public testing::WithParamInterface<LineCase> {};

TEST_P(SerialLineSettings, PortRunsAtTheChosenSettings)
{
    SerialLink link = SerialLink::open(control, 2, GetParam().handshake, GetParam().speed);
    const termios settings = slaveSettings();
    EXPECT_EQ(::cfgetospeed(&settings), GetParam().code);
    EXPECT_EQ(::cfgetispeed(&settings), GetParam().code);
    EXPECT_EQ(settings.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(bool(settings.c_cflag & CRTSCTS), GetParam().handshake == Handshake::RtsCts);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(control.Settings(), GetParam().speed + ",N,8,1");
    EXPECT_EQ(control.OutBufferSize(), 1024);
    EXPECT_EQ(control.InBufferSize(), 512);
    link.write("a\n");
    link.close();
    EXPECT_EQ(pty.readAvailable(), "a\n");
    EXPECT_FALSE(control.PortOpen());
}

INSTANTIATE_TEST_SUITE_P(SpeedsAndHandshakes, SerialLineSettings,
                         testing::Values(LineCase{"9600", Handshake::None, B9600},
                                         LineCase{"9600", Handshake::RtsCts, B9600},
                                         LineCase{"19200", Handshake::None, B19200},
                                         LineCase{"19200", Handshake::RtsCts, B19200}),
                         [](const auto& info) {
                             return info.param.speed
                                 + (info.param.handshake == Handshake::RtsCts ? "RtsCts" : "NoHandshake");
                         });

TEST_F(SerialLinkOnPty, ClosingSendsEverythingWrittenBeforeIt)
{
    SerialLink link = SerialLink::open(control, 2, Handshake::None, "9600");
    link.write("short");  // far below the 1024-byte block
    link.write("打印");
    link.close();
    EXPECT_EQ(pty.readAvailable(), "short\xB4\xF2\xD3\xA1");
}

TEST_F(SerialLinkOnPty, ALinkOpensAfresh)
{
    SerialLink first = SerialLink::open(control, 2, Handshake::RtsCts, "19200");
    first.close();
    SerialLink second = SerialLink::open(control, 2, Handshake::None, "9600");
    const termios settings = slaveSettings();
    EXPECT_EQ(::cfgetospeed(&settings), speed_t(B9600));
    EXPECT_EQ(settings.c_cflag & CRTSCTS, 0u);
    second.close();
}

TEST_F(SerialLinkOnPty, APortHeldElsewhereIsInUse)
{
    const int other = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_THAT(failureOf([&] { SerialLink::open(control, 2, Handshake::None, "9600"); }),
                HasSubstr("in use by another program"));
    ::close(other);
}

TEST_F(SerialLinkOnPty, APortWithNothingBehindItCannotOpen)
{
    EXPECT_THAT(failureOf([&] { SerialLink::open(control, 6, Handshake::None, "9600"); }),
                HasSubstr("Could not open com6"));
}

TEST_F(SerialLinkOnPty, SomethingOtherThanATtyIsNotASerialPort)
{
    Fifo fifo(runtime.path() / "fifo");
    runtime.link("com3", fifo.path());
    EXPECT_THAT(failureOf([&] { SerialLink::open(control, 3, Handshake::None, "9600"); }),
                HasSubstr("not a serial port"));
}

TEST_F(SerialLinkOnPty, ARefusedSpeedFailsBeforeThePortIsOpened)
{
    EXPECT_THAT(failureOf([&] { SerialLink::open(control, 2, Handshake::None, "abc"); }),
                HasSubstr("\"abc,N,8,1\""));
    EXPECT_FALSE(control.PortOpen());
}

// A pseudo-terminal always runs without parity, so asking for even parity
// shows that the settings are read back and compared.
TEST_F(SerialLinkOnPty, SettingsThePortDoesNotTakeAreNamed)
{
    control.setCommPort(2);
    control.setSettings("9600,E,8,1");
    EXPECT_THAT(failureOf([&] { control.setPortOpen(true); }), HasSubstr("the port did not take parity E"));
    EXPECT_FALSE(control.PortOpen());
}

TEST_F(SerialLinkOnPty, APortThatTakesNoDataStalls)
{
    SerialLink link = SerialLink::open(control, 2, Handshake::None, "9600");
    EXPECT_THAT(failureOf([&] {
                    for (int i = 0; i < 10000; ++i)
                        link.write(std::string(1000, 'x'));
                    link.close();
                }),
                HasSubstr("accepted no data for 0.3 seconds"));
}

TEST_F(SerialLinkOnPty, APortWhoseOtherSideWentAwayIsGone)
{
    SerialLink link = SerialLink::open(control, 2, Handshake::None, "9600");
    pty.closeMaster();
    EXPECT_THAT(failureOf([&] {
                    link.write(std::string(2000, 'x'));
                    link.close();
                }),
                HasSubstr("gone"));
}

} // namespace
