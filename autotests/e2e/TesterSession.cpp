#include "TesterSession.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <termios.h>

namespace fs = std::filesystem;

const Build& px9tester9xBuild()
{
    static const Build build{"px9tester9x", PX9TESTER9X_PATH, "KestrovaPX9打印机测试程序", 431, 309,
                             px9tester9xDeliverable()};
    return build;
}

const Build& px9testerBuild()
{
    static const Build build{"px9tester", PX9TESTER_PATH, "KestrovaPX9系列打印测试程序(版本1.0)", 431, 334,
                             px9testerDeliverable()};
    return build;
}

bool reachesTtyS0(const Build& build)
{
    return build.deliverable.serialOffset != 0;
}

std::pair<int, int> centreOf(const WindowLayout& layout, const std::string& control)
{
    const Placement& placement = layout.at(control);
    int x = twipsToPixels(placement.left) + twipsToPixels(placement.width) / 2;
    int y = twipsToPixels(placement.top) + twipsToPixels(placement.height) / 2;
    for (std::string container = placement.container; container != "Form1";) {
        const Placement& frame = layout.at(container);
        x += twipsToPixels(frame.left);
        y += twipsToPixels(frame.top);
        container = frame.container;
    }
    return {x, y};
}

std::string drawerStream()
{
    // "钱箱打开成功，欢迎使用Kestrova打印系列" in code page 936.
    static const unsigned char confirmation[] = {
        0xC7, 0xAE, 0xCF, 0xE4, 0xB4, 0xF2, 0xBF, 0xAA, 0xB3, 0xC9, 0xB9, 0xA6, 0xA3, 0xAC, 0xBB, 0xB6,
        0xD3, 0xAD, 0xCA, 0xB9, 0xD3, 0xC3, 'K',  'e',  's',  't',  'r',  'o',  'v',  'a',  0xB4, 0xF2,
        0xD3, 0xA1, 0xCF, 0xB5, 0xC1, 0xD0};
    return std::string("\x1B\x70\x00\x3C\xFF", 5) + std::string(std::begin(confirmation), std::end(confirmation))
        + "\n\n";
}

std::string hexBytes(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!text.empty())
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

std::unique_ptr<VirtualDisplay> DesktopTest::display_;
std::unique_ptr<Desktop> DesktopTest::desktop_;
std::string DesktopTest::startFailure_;

void DesktopTest::SetUpTestSuite()
{
    // Captions are Chinese: xdotool matches them, and the programs read
    // them, only in a UTF-8 locale, whatever locale the test was started in.
    ::setenv("LC_ALL", "C.UTF-8", 1);
    try {
        display_ = std::make_unique<VirtualDisplay>();
        desktop_ = std::make_unique<Desktop>(display_->name());
        startFailure_.clear();
    } catch (const std::exception& failure) {
        startFailure_ = failure.what();
    }
}

void DesktopTest::TearDownTestSuite()
{
    desktop_.reset();
    display_.reset();
}

void DesktopTest::SetUp()
{
    ASSERT_TRUE(desktop_) << "no virtual display: " << startFailure_;
}

TesterSession::TesterSession(const Desktop& desktop, const Build& build, const fs::path& scratch,
                             std::optional<std::string> ttyS0)
    : desktop_(desktop), build_(build), stderrPath_(scratch / (build.label + ".stderr"))
{
    std::vector<std::string> argv{build.program};
    if (ttyS0)
        argv = {"unshare", "--mount", "--propagation", "private", "sh", "-c",
                "mount --bind \"$0\" /dev/ttyS0 && exec \"$1\"", *ttyS0, build.program};
    process_ = std::make_unique<ChildProcess>(
        argv, Environment{{"DISPLAY", desktop.display()}, {"QT_QPA_PLATFORM", "xcb"}}, scratch / (build.label + ".stdout"),
        stderrPath_);
}

::testing::AssertionResult TesterSession::showsWindow(std::chrono::milliseconds timeout)
{
    if (const auto found = desktop_.waitForWindow(*process_, build_.caption, timeout)) {
        window_ = *found;
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "no window titled \"" << build_.caption << "\"; the program "
                                         << describeWaitStatus(process_->waitForExit(0ms)) << "; stderr: "
                                         << errorOutput();
}

void TesterSession::click(const std::string& control)
{
    const auto [x, y] = centreOf(build_.deliverable.layout, control);
    desktop_.click(window_, x, y);
}

void TesterSession::typeInto(const std::string& control, const std::string& text)
{
    click(control);
    desktop_.press(window_, {"ctrl+a"});
    desktop_.type(window_, text);
}

void TesterSession::press(const std::vector<std::string>& keys)
{
    desktop_.press(window_, keys);
}

std::optional<WindowId> TesterSession::waitForMessageBox(const std::string& title, std::chrono::milliseconds timeout)
{
    return desktop_.waitForWindow(*process_, title, timeout);
}

// OK is the box's one button and its default: Return takes it.
void TesterSession::dismissMessageBox(WindowId box)
{
    desktop_.press(box, {"Return"});
}

::testing::AssertionResult TesterSession::exitsWith(int code, std::chrono::milliseconds timeout)
{
    const std::optional<int> status = process_->waitForExit(timeout);
    if (status && WIFEXITED(*status) && WEXITSTATUS(*status) == code)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << build_.label << " " << describeWaitStatus(status) << " (expected exit status "
                                         << code << "); stderr: " << errorOutput();
}

std::string TesterSession::errorOutput() const
{
    std::ifstream in(stderrPath_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<std::string> privateTtyS0Unavailable(const std::string& standIn)
{
    if (!fs::exists("/dev/ttyS0"))
        return "this machine has no /dev/ttyS0 to bind a stand-in over";
    const CommandResult tried = runCommand({"unshare", "--mount", "--propagation", "private", "sh", "-c",
                                            "mount --bind \"$0\" /dev/ttyS0", standIn});
    if (!tried.succeeded())
        return "a private mount namespace is not permitted here: " + tried.out;
    return std::nullopt;
}

void enableOutputProcessing(int ttyFd)
{
    termios settings {};
    ::tcgetattr(ttyFd, &settings);
    settings.c_oflag |= OPOST | ONLCR;
    ::tcsetattr(ttyFd, TCSANOW, &settings);
}
