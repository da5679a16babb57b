// Measures the print test's serial path against plain 1024-byte writes of
// the same bytes, both into a pseudo-terminal whose other side is read as
// fast as possible, and prints the ratio of the medians.
//
//   px9_print_benchmark [lines]     (default and most: 32767 lines; 21 rounds of 8 runs)
#include "Cp936.h"
#include "PrintTest.h"
#include "TestDevices.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

const std::string kLine = "Welcome for you to use our products";

// Times kRepeats runs of action, each until the reader has taken expected
// bytes: one run takes about 10 ms, too short to rise above the scheduler's
// noise on its own.
constexpr int kRepeats = 8;

double secondsUntilRead(PseudoTerminal& pty, std::size_t expected, const std::function<void()>& action)
{
    const auto start = Clock::now();
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        std::size_t received = 0;
        std::thread reader([&] { received = pty.readExactly(expected, std::chrono::seconds(120)).size(); });
        action();
        reader.join();
        if (received != expected) {
            std::fprintf(stderr, "received %zu of %zu bytes\n", received, expected);
            std::exit(1);
        }
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / kRepeats;
}

void writePlain(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY);
    termios settings {};
    ::tcgetattr(fd, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd, TCSANOW, &settings);
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + at, std::min<std::size_t>(1024, bytes.size() - at));
        if (written > 0)
            at += std::size_t(written);
    }
    ::tcdrain(fd);
    ::close(fd);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int lines = std::clamp(argc > 1 ? std::atoi(argv[1]) : 32767, 0, 32767);
    constexpr int kRounds = 21;

    ScratchRuntimeDir runtime;
    PseudoTerminal pty;
    runtime.link("com1", pty.slavePath());

    WindowModel window;
    window.load();
    window.clickOption1();
    window.editText(window.Turn, std::to_string(lines));
    const PrinterPorts ports{DeviceFolder::forCurrentUser(), 0};
    MSComm control(ports.folder);

    std::string stream;
    for (int i = 0; i < lines; ++i)
        stream += encodeCp936(kLine) + "\n";
    stream += std::string(kFeedTailLines, '\n');

    // One round of each first, so that both start with warm caches.
    secondsUntilRead(pty, stream.size(), [&] { runPrintTest(window, ports, control); });
    secondsUntilRead(pty, stream.size(), [&] { writePlain(pty.slavePath(), stream); });
    std::vector<double> printPath, plain;
    for (int round = 0; round < kRounds; ++round) {
        printPath.push_back(secondsUntilRead(pty, stream.size(), [&] { runPrintTest(window, ports, control); }));
        plain.push_back(secondsUntilRead(pty, stream.size(), [&] { writePlain(pty.slavePath(), stream); }));
    }
    const double ratio = median(printPath) / median(plain);
    std::printf("%d lines, %zu bytes, %d rounds of %d runs\n", lines, stream.size(), kRounds, kRepeats);
    std::printf("print path      median %.4f s\n", median(printPath));
    std::printf("plain 1024-byte median %.4f s\n", median(plain));
    std::printf("ratio %.3f (goal: at most 1.2)\n", ratio);
    return 0;
}
