#include "TestDevices.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

ScratchRuntimeDir::ScratchRuntimeDir()
{
    std::string pattern = (fs::temp_directory_path() / "px9-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    if (const char* previous = std::getenv("XDG_RUNTIME_DIR")) {
        previous_ = previous;
        hadPrevious_ = true;
    }
    ::setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
    fs::create_directories(deviceFolder());
    fs::permissions(path_ / "kestrova-px9", fs::perms::owner_all);
    fs::permissions(deviceFolder(), fs::perms::owner_all);
}

ScratchRuntimeDir::~ScratchRuntimeDir()
{
    if (hadPrevious_)
        ::setenv("XDG_RUNTIME_DIR", previous_.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void ScratchRuntimeDir::link(const std::string& name, const fs::path& target) const
{
    const fs::path entry = deviceFolder() / name;
    std::error_code ignored;
    fs::remove(entry, ignored);
    fs::create_symlink(target, entry);
}

PseudoTerminal::PseudoTerminal()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slavePath_ = ::ptsname(master_);
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0)
        throw std::runtime_error("cannot open " + slavePath_);
}

PseudoTerminal::~PseudoTerminal()
{
    if (slave_ >= 0)
        ::close(slave_);
    closeMaster();
}

std::string PseudoTerminal::readAvailable(std::chrono::milliseconds quiet)
{
    return readAvailableFrom(master_, quiet);
}

std::string PseudoTerminal::readExactly(std::size_t count, std::chrono::milliseconds timeout)
{
    return readExactlyFrom(master_, count, timeout);
}

void PseudoTerminal::closeMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

Fifo::Fifo(const fs::path& path) : path_(path)
{
    // A reader that goes away must be a write error, as in the program.
    std::signal(SIGPIPE, SIG_IGN);
    if (::mkfifo(path.c_str(), 0600) != 0)
        throw std::runtime_error("mkfifo failed");
    reader_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (reader_ < 0)
        throw std::runtime_error("cannot open the FIFO");
}

Fifo::~Fifo()
{
    closeReader();
    ::unlink(path_.c_str());
}

std::string Fifo::readAvailable(std::chrono::milliseconds quiet)
{
    return readAvailableFrom(reader_, quiet);
}

std::string Fifo::readExactly(std::size_t count, std::chrono::milliseconds timeout)
{
    return readExactlyFrom(reader_, count, timeout);
}

void Fifo::closeReader()
{
    if (reader_ >= 0)
        ::close(reader_);
    reader_ = -1;
}

std::string readAvailableFrom(int fd, std::chrono::milliseconds quiet)
{
    std::string data;
    char buffer[65536];
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, int(quiet.count())) <= 0 || !(entry.revents & POLLIN))
            return data;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return data;
        data.append(buffer, std::size_t(got));
    }
}

std::string readExactlyFrom(int fd, std::size_t count, std::chrono::milliseconds timeout)
{
    std::string data;
    char buffer[65536];
    const auto deadline = Clock::now() + timeout;
    while (data.size() < count && Clock::now() < deadline) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 50) <= 0 || !(entry.revents & POLLIN))
            continue;
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, count - data.size()));
        if (got > 0)
            data.append(buffer, std::size_t(got));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));  // no writer yet, or gone
    }
    return data;
}
