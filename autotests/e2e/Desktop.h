// Desktop: what an end-to-end test needs to drive the real program on a
// virtual X display: child processes it owns, a private Xvfb server, and
// xdotool for the mouse, the keyboard and finding windows.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

using namespace std::chrono_literals;

// Variables set for a child on top of this process's own environment.
using Environment = std::map<std::string, std::string>;

// A process started by the test. It dies with the test process (a test
// that is killed on its time-out leaves nothing behind) and is killed and
// reaped when this object goes.
class ChildProcess {
public:
    // stdoutPath / stderrPath empty: the stream goes to /dev/null.
    ChildProcess(const std::vector<std::string>& argv, const Environment& extra,
                 const std::filesystem::path& stdoutPath = {}, const std::filesystem::path& stderrPath = {},
                 int inheritedFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // The raw wait status once the process has ended within timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    void kill();

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// "exited with status 1", "killed by signal 9", "still running".
std::string describeWaitStatus(const std::optional<int>& status);

struct CommandResult {
    std::optional<int> status;  // empty when it was killed on its time-out
    std::string out;            // stdout and stderr together
    bool succeeded() const;
};

// Runs a short command to its end; one that overruns timeout is killed.
CommandResult runCommand(const std::vector<std::string>& argv, const Environment& extra = {},
                         std::chrono::milliseconds timeout = 10s);

using WindowId = unsigned long;

// One Xvfb server on a display number that was free, ready for clients.
class VirtualDisplay {
public:
    VirtualDisplay();  // throws std::runtime_error when no server could be started
    ~VirtualDisplay();
    const std::string& name() const { return name_; }  // ":N"

private:
    std::unique_ptr<ChildProcess> server_;
    std::string name_;
};

// The mouse, the keyboard and the windows of one display.
class Desktop {
public:
    explicit Desktop(std::string display) : display_(std::move(display)) {}
    const std::string& display() const { return display_; }

    // The visible top-level window of pid whose title is exactly title.
    // Gives up when the process ends or timeout passes.
    std::optional<WindowId> waitForWindow(ChildProcess& owner, const std::string& title,
                                          std::chrono::milliseconds timeout) const;
    std::string windowTitle(WindowId window) const;
    // Width and height in pixels.
    std::pair<int, int> windowSize(WindowId window) const;

    // x, y: pixels from the window's top-left corner.
    void click(WindowId window, int x, int y) const;
    // Gives window the keyboard focus, then presses each key (xdotool names,
    // e.g. "Return", "ctrl+a").
    void press(WindowId window, const std::vector<std::string>& keys) const;
    void type(WindowId window, const std::string& text) const;
    // What a window manager sends when the close box is clicked.
    void requestClose(WindowId window) const;

private:
    CommandResult xdotool(std::vector<std::string> arguments) const;
    void focus(WindowId window) const;

    std::string display_;
};

// The title as an anchored POSIX extended expression that matches it alone.
std::string exactTitlePattern(const std::string& title);
