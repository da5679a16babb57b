// TesterSession: one run of a real deliverable on the suite's virtual
// display, driven by its controls' designer names. Where controls sit comes
// from the build's layout table, so the clicks follow the window as built.
#pragma once

#include "Deliverable.h"
#include "Desktop.h"
#include "TestDevices.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

struct Build {
    std::string label;        // for test names
    std::string program;      // path of the executable
    std::string caption;      // the window's title as the operator sees it
    int width = 0, height = 0;  // client area, pixels
    Deliverable deliverable;
};

const Build& px9tester9xBuild();
const Build& px9testerBuild();

// Whether a run of the build could reach /dev/ttyS0: px9tester links its
// aliases COM5-COM8 to /dev/ttyS0-3 at start-up and serves COM1 as COM5.
// Such runs go through a stand-in (see TesterSession).
bool reachesTtyS0(const Build& build);

// The centre of a control, in pixels from the window's top-left corner: a
// frame's children are placed relative to the frame.
std::pair<int, int> centreOf(const WindowLayout& layout, const std::string& control);

// The device stream of the cash drawer test: kick the drawer, the
// confirmation line in code page 936, and one more line feed.
std::string drawerStream();

// What a device receives: size bytes (waiting up to 15 s for them), then
// whatever follows within a short quiet time, so that extra bytes show too.
template <typename Device>
std::string receiveStream(Device& device, std::size_t size)
{
    std::string received = device.readExactly(size, 15s);
    return received + device.readAvailable(300ms);
}

// Bytes as spaced hex pairs, so that a mismatch shows which byte differs.
std::string hexBytes(std::string_view bytes);

// One Xvfb per test suite; every test gets its own device-name folder
// (XDG_RUNTIME_DIR), which the programs it starts inherit.
class DesktopTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    static const Desktop& desktop() { return *desktop_; }

    ScratchRuntimeDir runtime_;

private:
    static std::unique_ptr<VirtualDisplay> display_;
    static std::unique_ptr<Desktop> desktop_;
    static std::string startFailure_;
};

class TesterSession {
public:
    // ttyS0: a path that stands in for /dev/ttyS0, bind-mounted over it in a
    // mount namespace private to the program.
    TesterSession(const Desktop& desktop, const Build& build, const std::filesystem::path& scratch,
                  std::optional<std::string> ttyS0 = std::nullopt);

    // Waits for the main window to show.
    ::testing::AssertionResult showsWindow(std::chrono::milliseconds timeout = 30s);
    WindowId window() const { return window_; }

    void click(const std::string& control);
    // Replaces the text of an editable list as the operator does: click into
    // it, select everything, type.
    void typeInto(const std::string& control, const std::string& text);
    void press(const std::vector<std::string>& keys);

    // The failure box, a window of the program titled with exactly title.
    std::optional<WindowId> waitForMessageBox(const std::string& title, std::chrono::milliseconds timeout = 15s);
    void dismissMessageBox(WindowId box);

    bool running() { return process_->running(); }
    // Passes once the program ended with the given exit status within timeout.
    ::testing::AssertionResult exitsWith(int code, std::chrono::milliseconds timeout = 20s);
    std::string errorOutput() const;

private:
    const Desktop& desktop_;
    const Build& build_;
    std::filesystem::path stderrPath_;
    std::unique_ptr<ChildProcess> process_;
    WindowId window_ = 0;
};

// Whether this machine lets a program run in a private mount namespace with
// a file bound over /dev/ttyS0; the reason when it does not.
std::optional<std::string> privateTtyS0Unavailable(const std::string& standIn);

// Sets output processing on a tty as a freshly opened serial port has it
// (OPOST | ONLCR: a line feed goes out as CR LF unless the writer turns it
// off).
void enableOutputProcessing(int ttyFd);
