// The plain write path on devices the test owns: exact bytes, the port's own
// settings kept, and every way a port can fail.
#include "DeviceChannel.h"
#include "FailureOf.h"
#include "TestDevices.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <gmock/gmock.h>
#include <thread>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;
using testing::HasSubstr;

namespace {

class DeviceChannelTest : public testing::Test {
protected:
    DeviceFolder folder() const { return DeviceFolder::forCurrentUser(); }

    ScratchRuntimeDir runtime;
};

TEST_F(DeviceChannelTest, BytesReachAPseudoTerminalUntranslated)
{
    PseudoTerminal pty;
    runtime.link("com1", pty.slavePath());
    termios before {};
    ::tcgetattr(pty.slave(), &before);
    ASSERT_TRUE(before.c_oflag & OPOST) << "a fresh pty translates line feeds";

    DeviceChannel channel = DeviceChannel::open(folder(), "com1");
    channel.write("A\nB\r\n");
    channel.writeText("钱\n");
    channel.close();
    EXPECT_EQ(pty.readAvailable(), "A\nB\r\n\xC7\xAE\n");

    termios after {};
    ::tcgetattr(pty.slave(), &after);
    EXPECT_EQ(after.c_oflag, before.c_oflag) << "output processing handed back as found";
}

TEST_F(DeviceChannelTest, LineSettingsAreLeftAsThePortHadThem)
{
    PseudoTerminal pty;
    termios settings {};
    ::tcgetattr(pty.slave(), &settings);
    ::cfsetspeed(&settings, B19200);
    settings.c_cflag |= CRTSCTS | CSTOPB;
    ::tcsetattr(pty.slave(), TCSANOW, &settings);
    runtime.link("com3", pty.slavePath());

    DeviceChannel channel = DeviceChannel::open(folder(), "com3");
    termios during {};
    ::tcgetattr(pty.slave(), &during);
    channel.write("x");
    channel.close();

    for (const termios& seen : {during, settings}) {
        EXPECT_EQ(::cfgetospeed(&seen), B19200);
        EXPECT_EQ(seen.c_cflag & (CRTSCTS | CSTOPB | CSIZE | PARENB), settings.c_cflag & (CRTSCTS | CSTOPB | CSIZE | PARENB));
    }
    EXPECT_EQ(pty.readAvailable(), "x");
}

TEST_F(DeviceChannelTest, BytesReachAFifo)
{
    Fifo fifo(runtime.path() / "lp");
    runtime.link("lpt2", fifo.path());
    DeviceChannel channel = DeviceChannel::open(folder(), "lpt2:");
    channel.write(std::string("\x1B\x70\x00\x3C\xFF", 5));
    channel.close();
    EXPECT_EQ(fifo.readAvailable(), std::string("\x1B\x70\x00\x3C\xFF", 5));
}

TEST_F(DeviceChannelTest, AWriteLargerThanThePipeGoesOutWhole)
{
    Fifo fifo(runtime.path() / "lp");
    runtime.link("lpt1", fifo.path());
    const std::string block(300000, 'z');
    std::string received;
    DeviceChannel channel = DeviceChannel::open(folder(), "lpt1:");
    // Read on the side so the writer meets a full pipe again and again.
    std::thread reader([&] { received = fifo.readExactly(block.size()); });
    channel.write(block);
    channel.close();
    reader.join();
    EXPECT_EQ(received.size(), block.size());
}

TEST_F(DeviceChannelTest, MissingDeviceSaysHowToLinkIt)
{
    runtime.link("com2", runtime.path() / "no-such-adapter");
    const std::string text = failureOf([&] { DeviceChannel::open(folder(), "com2"); });
    EXPECT_THAT(text, HasSubstr("Could not open com2 (" + (runtime.path() / "no-such-adapter").string() + ")"));
    EXPECT_THAT(text, HasSubstr("No such file or directory"));
    EXPECT_THAT(text, HasSubstr("ln -sfn /dev/ttyUSB0 \"" + runtime.deviceFolder().string() + "/com2\""));
}

TEST_F(DeviceChannelTest, AliasWithoutEntryCannotBeOpened)
{
    const std::string text = failureOf([&] { DeviceChannel::open(folder(), "com7"); });
    EXPECT_THAT(text, HasSubstr("com7 (" + (runtime.deviceFolder() / "com7").string() + ")"));
}

TEST_F(DeviceChannelTest, PortHeldByAnotherProgramIsInUse)
{
    PseudoTerminal pty;
    runtime.link("com1", pty.slavePath());
    const int other = ::open(pty.slavePath().c_str(), O_WRONLY | O_NOCTTY);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    const std::string text = failureOf([&] { DeviceChannel::open(folder(), "com1"); });
    ::close(other);
    EXPECT_THAT(text, HasSubstr("in use by another program"));
    EXPECT_THAT(text, testing::Not(HasSubstr("ermission")));
}

TEST_F(DeviceChannelTest, ThePortIsExclusiveWhileOpen)
{
    PseudoTerminal pty;
    runtime.link("com1", pty.slavePath());
    DeviceChannel first = DeviceChannel::open(folder(), "com1");
    const std::string text = failureOf([&] { DeviceChannel::open(folder(), "com1"); });
    EXPECT_THAT(text, HasSubstr("in use by another program"));
    first.close();
    DeviceChannel::open(folder(), "com1").close();  // free again once closed
}

TEST_F(DeviceChannelTest, AReaderThatNeverReadsStallsWithinTheLimit)
{
    PseudoTerminal pty;  // nobody reads the master
    runtime.link("com1", pty.slavePath());
    DeviceChannel channel = DeviceChannel::open(folder(), "com1", 300ms);
    const auto start = std::chrono::steady_clock::now();
    const std::string text = failureOf([&] { channel.write(std::string(1 << 20, 'x')); });
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_THAT(text, HasSubstr("Could not write to com1"));
    EXPECT_THAT(text, HasSubstr("accepted no data for 0.3 seconds"));
}

TEST_F(DeviceChannelTest, AFifoWhoseReaderNeverReadsStalls)
{
    Fifo fifo(runtime.path() / "lp");
    runtime.link("lpt1", fifo.path());
    DeviceChannel channel = DeviceChannel::open(folder(), "lpt1:", 200ms);
    EXPECT_THAT(failureOf([&] { channel.write(std::string(1 << 20, 'x')); }), HasSubstr("accepted no data"));
}

TEST_F(DeviceChannelTest, APseudoTerminalWhoseOtherSideWentAwayIsGone)
{
    PseudoTerminal pty;
    runtime.link("com1", pty.slavePath());
    DeviceChannel channel = DeviceChannel::open(folder(), "com1", 2s);
    pty.closeMaster();
    const std::string text = failureOf([&] { channel.write("x"); });
    EXPECT_THAT(text, HasSubstr("Could not write to com1"));
    EXPECT_THAT(text, HasSubstr("gone"));
}

TEST_F(DeviceChannelTest, AFifoWhoseReaderWentAwayIsGone)
{
    Fifo fifo(runtime.path() / "lp");
    runtime.link("lpt1", fifo.path());
    DeviceChannel channel = DeviceChannel::open(folder(), "lpt1:", 2s);
    fifo.closeReader();
    EXPECT_THAT(failureOf([&] { channel.write("x"); }), HasSubstr("gone"));
}

TEST_F(DeviceChannelTest, AFifoWithNoReaderCannotBeOpened)
{
    Fifo fifo(runtime.path() / "lp");
    fifo.closeReader();
    runtime.link("lpt1", fifo.path());
    EXPECT_THAT(failureOf([&] { DeviceChannel::open(folder(), "lpt1:"); }), HasSubstr("Could not open lpt1:"));
}

// /dev/full refuses every write with ENOSPC, as the lp driver does when the
// printer is out of paper.
TEST_F(DeviceChannelTest, APrinterOutOfPaperSaysSo)
{
    runtime.link("lpt1", "/dev/full");
    DeviceChannel channel = DeviceChannel::open(folder(), "lpt1:");
    const std::string text = failureOf([&] { channel.write("x"); });
    EXPECT_THAT(text, HasSubstr("Could not write to lpt1: (/dev/full)"));
    EXPECT_THAT(text, HasSubstr("out of paper"));
}

// Permission is checked for real by a user who is not root: the test drops
// to "nobody" in a child process when it runs as root.
TEST_F(DeviceChannelTest, APortTheUserMayNotOpenNamesTheGroup)
{
    const auto closedDevice = runtime.path() / "ttyS9";
    { std::ofstream(closedDevice.string()); }
    std::filesystem::permissions(closedDevice, std::filesystem::perms::none);
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all
                                     | std::filesystem::perms::others_exec | std::filesystem::perms::group_exec);
    const HostDevice device{"com1", closedDevice.string(), PortKind::Serial, runtime.deviceFolder().string(), true};

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        std::string text = "opened";
        try {
            DeviceFile::open(device, DeviceFile::Access::WriteOnly);
        } catch (const Failure& failure) {
            text = failure.what();
        }
        [[maybe_unused]] const auto written = ::write(pipeEnds[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(got));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "could not drop privileges";
    EXPECT_THAT(text, HasSubstr("Could not open com1 (" + closedDevice.string() + "): Permission denied"));
    EXPECT_THAT(text, HasSubstr("\"dialout\""));
}

TEST_F(DeviceChannelTest, ARegularFileTakesTheBytes)
{
    const auto file = runtime.path() / "capture";
    { std::ofstream(file.string()); }
    runtime.link("lpt1", file);
    DeviceChannel channel = DeviceChannel::open(folder(), "LPT1:");
    channel.write("abc");
    channel.close();
    std::ifstream in(file.string());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "abc");
}

} // namespace
