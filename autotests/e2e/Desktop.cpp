#include "Desktop.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// argv and envp as execve wants them, built before fork so that the child
// only makes async-signal-safe calls.
class ExecArguments {
public:
    ExecArguments(const std::vector<std::string>& argv, const Environment& extra) : argv_(argv)
    {
        for (char** entry = environ; *entry; ++entry) {
            const std::string variable = *entry;
            const std::string key = variable.substr(0, variable.find('='));
            if (!extra.contains(key))
                env_.push_back(variable);
        }
        for (const auto& [key, value] : extra)
            env_.push_back(key + "=" + value);
        for (std::string& arg : argv_)
            argvPointers_.push_back(arg.data());
        argvPointers_.push_back(nullptr);
        for (std::string& variable : env_)
            envPointers_.push_back(variable.data());
        envPointers_.push_back(nullptr);
    }

    char* const* argv() { return argvPointers_.data(); }
    char* const* envp() { return envPointers_.data(); }
    const char* file() const { return argv_.front().c_str(); }

private:
    std::vector<std::string> argv_, env_;
    std::vector<char*> argvPointers_, envPointers_;
};

// In the child after fork: die with the parent, then run the program.
[[noreturn]] void execChild(ExecArguments& exec, pid_t parent)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(127);
    ::signal(SIGPIPE, SIG_DFL);
    const int input = ::open("/dev/null", O_RDONLY);
    if (input >= 0) {
        ::dup2(input, STDIN_FILENO);
        ::close(input);
    }
    // execvpe: the program may be a bare name found on PATH.
    ::execvpe(exec.file(), exec.argv(), exec.envp());
    ::_exit(127);
}

void redirect(const char* path, int target)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        ::_exit(126);
    ::dup2(fd, target);
    ::close(fd);
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const Environment& extra,
                           const fs::path& stdoutPath, const fs::path& stderrPath, int inheritedFd)
{
    ExecArguments exec(argv, extra);
    const std::string out = stdoutPath.empty() ? "/dev/null" : stdoutPath.string();
    const std::string err = stderrPath.empty() ? "/dev/null" : stderrPath.string();
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0)
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
    if (pid_ == 0) {
        redirect(out.c_str(), STDOUT_FILENO);
        redirect(err.c_str(), STDERR_FILENO);
        if (inheritedFd >= 0)
            ::fcntl(inheritedFd, F_SETFD, 0);
        execChild(exec, parent);
    }
}

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::running()
{
    if (status_)
        return false;
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_)
        status_ = status;
    return !status_;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (running() && Clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    return status_;
}

void ChildProcess::kill()
{
    if (!running())
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    status_ = status;
}

std::string describeWaitStatus(const std::optional<int>& status)
{
    if (!status)
        return "still running";
    if (WIFEXITED(*status))
        return "exited with status " + std::to_string(WEXITSTATUS(*status));
    if (WIFSIGNALED(*status))
        return "killed by signal " + std::to_string(WTERMSIG(*status));
    return "ended with wait status " + std::to_string(*status);
}

bool CommandResult::succeeded() const
{
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

CommandResult runCommand(const std::vector<std::string>& argv, const Environment& extra,
                         std::chrono::milliseconds timeout)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    ExecArguments exec(argv, extra);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::dup2(pipeFds[1], STDERR_FILENO);
        execChild(exec, parent);
    }
    ::close(pipeFds[1]);

    CommandResult result;
    const auto deadline = Clock::now() + timeout;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd entry{pipeFds[0], POLLIN, 0};
        if (::poll(&entry, 1, int(left.count())) <= 0)
            continue;
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        result.out.append(buffer, std::size_t(got));
    }
    ::close(pipeFds[0]);

    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            result.status = status;
            break;
        }
        if (Clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(5ms);
    }
    return result;
}

VirtualDisplay::VirtualDisplay()
{
    // -displayfd: the server itself takes the first display number that is
    // free and writes it here once it accepts connections.
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const fs::path log = fs::temp_directory_path() / ("px9-e2e-xvfb-" + std::to_string(::getpid()) + ".log");
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1024x768x24",
                                 "-noreset", "-nolisten", "tcp"},
        Environment{}, fs::path{}, log, pipeFds[1]);
    ::close(pipeFds[1]);

    std::string number;
    const auto deadline = Clock::now() + 30s;
    while (number.find('\n') == std::string::npos && Clock::now() < deadline && server_->running()) {
        pollfd entry{pipeFds[0], POLLIN, 0};
        if (::poll(&entry, 1, 100) <= 0)
            continue;
        char buffer[32];
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        number.append(buffer, std::size_t(got));
    }
    ::close(pipeFds[0]);
    const std::string serverLog = readFile(log);
    fs::remove(log);
    if (number.find('\n') == std::string::npos) {
        server_.reset();
        throw std::runtime_error("Xvfb did not start: " + serverLog);
    }
    name_ = ":" + number.substr(0, number.find('\n'));

    // Ready when a client can connect and query it.
    while (Clock::now() < deadline) {
        if (runCommand({"xdotool", "getmouselocation"}, {{"DISPLAY", name_}}, 5s).succeeded())
            return;
        std::this_thread::sleep_for(50ms);
    }
    server_.reset();
    throw std::runtime_error("Xvfb on " + name_ + " does not answer");
}

VirtualDisplay::~VirtualDisplay() = default;

std::string exactTitlePattern(const std::string& title)
{
    std::string pattern = "^";
    for (const char c : title) {
        if (std::strchr(".[]{}()\\*+?^$|", c) && c != '\0')
            pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

CommandResult Desktop::xdotool(std::vector<std::string> arguments) const
{
    arguments.insert(arguments.begin(), "xdotool");
    return runCommand(arguments, {{"DISPLAY", display_}}, 10s);
}

std::optional<WindowId> Desktop::waitForWindow(ChildProcess& owner, const std::string& title,
                                               std::chrono::milliseconds timeout) const
{
    const auto deadline = Clock::now() + timeout;
    while (owner.running() && Clock::now() < deadline) {
        const CommandResult found = xdotool({"search", "--all", "--onlyvisible", "--pid", std::to_string(owner.pid()),
                                             "--name", exactTitlePattern(title)});
        std::istringstream lines(found.out);
        std::string line;
        while (found.succeeded() && std::getline(lines, line))
            if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos)
                return std::stoul(line);
        std::this_thread::sleep_for(100ms);
    }
    return std::nullopt;
}

std::string Desktop::windowTitle(WindowId window) const
{
    std::string name = xdotool({"getwindowname", std::to_string(window)}).out;
    if (!name.empty() && name.back() == '\n')
        name.pop_back();
    return name;
}

std::pair<int, int> Desktop::windowSize(WindowId window) const
{
    const CommandResult geometry = xdotool({"getwindowgeometry", "--shell", std::to_string(window)});
    std::istringstream lines(geometry.out);
    std::string line;
    int width = -1, height = -1;
    while (std::getline(lines, line)) {
        if (line.starts_with("WIDTH="))
            width = std::stoi(line.substr(6));
        else if (line.starts_with("HEIGHT="))
            height = std::stoi(line.substr(7));
    }
    return {width, height};
}

void Desktop::click(WindowId window, int x, int y) const
{
    const CommandResult done = xdotool({"mousemove", "--window", std::to_string(window), std::to_string(x),
                                        std::to_string(y), "click", "1"});
    if (!done.succeeded())
        throw std::runtime_error("xdotool could not click: " + done.out);
}

// Without a window manager nobody hands out the focus, so the test gives it
// to the window itself, in the same xdotool run as the keys that follow.
void Desktop::press(WindowId window, const std::vector<std::string>& keys) const
{
    std::vector<std::string> arguments{"windowfocus", std::to_string(window), "key", "--delay", "50"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    const CommandResult done = xdotool(arguments);
    if (!done.succeeded())
        throw std::runtime_error("xdotool could not press keys: " + done.out);
}

void Desktop::type(WindowId window, const std::string& text) const
{
    const CommandResult done = xdotool({"windowfocus", std::to_string(window), "type", "--delay", "20", text});
    if (!done.succeeded())
        throw std::runtime_error("xdotool could not type: " + done.out);
}

// The client message a window manager sends on a click of the close box;
// xdotool's windowclose destroys the window instead, which skips the
// program's close handling altogether.
void Desktop::requestClose(WindowId window) const
{
    Display* connection = XOpenDisplay(display_.c_str());
    if (!connection)
        throw std::runtime_error("cannot connect to " + display_);
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(connection, window, False, NoEventMask, &event);
    XSync(connection, False);
    XCloseDisplay(connection);
    if (!sent)
        throw std::runtime_error("the close request could not be sent");
}
