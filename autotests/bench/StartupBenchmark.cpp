// Start-up of the tester against a bare Qt window: the time from process
// start until its window is mapped, and its resident memory once shown,
// over alternating starts under a private Xvfb; prints medians and ratios.
//
//   px9_startup_benchmark <tester> <bare-window> [rounds]   (default 9 rounds)
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

struct Sample {
    double seconds;
    long residentKiB;
};

pid_t startXvfb(std::string& display)
{
    for (int number = 90; number < 120; ++number) {
        if (access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) == 0)
            continue;
        display = ":" + std::to_string(number);
        const pid_t pid = fork();
        if (pid == 0) {
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-noreset", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100; ++i) {
            if (Display* probe = XOpenDisplay(display.c_str())) {
                XCloseDisplay(probe);
                return pid;
            }
            std::this_thread::sleep_for(50ms);
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    std::fprintf(stderr, "could not start Xvfb\n");
    std::exit(1);
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// Starts program and waits for the first top-level window to be mapped.
Sample measure(Display* x, const std::string& program, const std::string& runtimeDir)
{
    XSelectInput(x, DefaultRootWindow(x), SubstructureNotifyMask);
    XSync(x, True);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    Sample sample{-1, -1};
    const auto deadline = start + 30s;
    while (Clock::now() < deadline && sample.seconds < 0) {
        while (XPending(x)) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type == MapNotify && sample.seconds < 0)
                sample.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        }
        std::this_thread::sleep_for(200us);
    }
    // Let the first paint finish before reading the memory it holds.
    std::this_thread::sleep_for(300ms);
    sample.residentKiB = residentKiB(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XSelectInput(x, DefaultRootWindow(x), NoEventMask);
    if (sample.seconds < 0) {
        std::fprintf(stderr, "%s showed no window\n", program.c_str());
        std::exit(1);
    }
    return sample;
}

template <typename Field>
double median(const std::vector<Sample>& samples, Field field)
{
    std::vector<double> values;
    for (const Sample& sample : samples)
        values.push_back(double(field(sample)));
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <tester> <bare-window> [rounds]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
    std::string display;
    const pid_t xvfb = startXvfb(display);
    setenv("DISPLAY", display.c_str(), 1);
    Display* x = XOpenDisplay(display.c_str());

    char pattern[] = "/tmp/px9-startup-XXXXXX";
    const std::string runtimeDir = mkdtemp(pattern);

    std::vector<Sample> tester, bare;
    measure(x, argv[1], runtimeDir);  // warm the caches for both
    measure(x, argv[2], runtimeDir);
    for (int round = 0; round < rounds; ++round) {
        tester.push_back(measure(x, argv[1], runtimeDir));
        bare.push_back(measure(x, argv[2], runtimeDir));
    }
    XCloseDisplay(x);
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    std::system(("rm -rf '" + runtimeDir + "'").c_str());

    const auto seconds = [](const Sample& s) { return s.seconds; };
    const auto memory = [](const Sample& s) { return s.residentKiB; };
    std::printf("%d alternating starts each\n", rounds);
    std::printf("tester: start to shown %.1f ms, resident %.0f KiB\n", median(tester, seconds) * 1000,
                median(tester, memory));
    std::printf("bare:   start to shown %.1f ms, resident %.0f KiB\n", median(bare, seconds) * 1000,
                median(bare, memory));
    std::printf("ratio time %.3f, memory %.3f (goal: both at most 1.15)\n",
                median(tester, seconds) / median(bare, seconds), median(tester, memory) / median(bare, memory));
    return 0;
}
