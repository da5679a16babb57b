#include "DeviceFile.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

namespace {

// The lp driver cannot be polled; retrying it this often keeps a busy printer
// fed without spinning.
constexpr auto kRetryInterval = std::chrono::milliseconds(100);
constexpr auto kDrainInterval = std::chrono::milliseconds(10);

int remainingMilliseconds(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() <= 0 ? 0 : int(std::min<long long>(left.count(), 1000));
}

} // namespace

DeviceFile DeviceFile::open(const HostDevice& device, Access access, std::chrono::milliseconds stallLimit)
{
    // Non-blocking so that opening never waits for a carrier; no controlling
    // terminal; not inherited by any child.
    const int mode = access == Access::ReadWrite ? O_RDWR : O_WRONLY;
    int fd;
    do {
        fd = ::open(device.hostPath.c_str(), mode | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throwDeviceFailure(DeviceStep::Open, device, errno);

    struct stat info {};
    ::fstat(fd, &info);
    const WaitKind waitKind = ::isatty(fd) ? WaitKind::Terminal
                            : S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ? WaitKind::Pipe
                                                                               : WaitKind::Retry;
    DeviceFile file(device, fd, waitKind, stallLimit);

    // The port is ours alone while open. flock binds root too; TIOCEXCL
    // additionally keeps other programs from opening the tty at all.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        file.fail(DeviceStep::Lock, errno);
    if (file.isTerminal() && ::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY)
        file.fail(DeviceStep::Lock, errno);
    return file;
}

DeviceFile::DeviceFile(HostDevice device, int fd, WaitKind waitKind, std::chrono::milliseconds stallLimit)
    : device_(std::move(device)), fd_(fd), waitKind_(waitKind), stallLimit_(stallLimit)
{
}

DeviceFile::DeviceFile(DeviceFile&& other) noexcept
    : device_(std::move(other.device_)), fd_(other.fd_), waitKind_(other.waitKind_),
      stallLimit_(other.stallLimit_)
{
    other.fd_ = -1;
}

DeviceFile::~DeviceFile()
{
    if (fd_ < 0)
        return;
    // Left open by a failure: drop what is still queued so that closing does
    // not wait for a printer that takes nothing.
    if (isTerminal())
        ::tcflush(fd_, TCOFLUSH);
    release();
}

void DeviceFile::fail(DeviceStep step, int error) const
{
    throwDeviceFailure(step, device_, error, stallLimit_);
}

// Waits until the device can take bytes, the deadline passes, or the other
// side turns out to be gone (a failure).
void DeviceFile::waitForRoom(Clock::time_point deadline)
{
    if (waitKind_ == WaitKind::Retry) {
        std::this_thread::sleep_for(std::min<Clock::duration>(kRetryInterval, deadline - Clock::now()));
        return;
    }
    pollfd entry{fd_, POLLOUT, 0};
    const int ready = ::poll(&entry, 1, remainingMilliseconds(deadline));
    if (ready < 0 && errno != EINTR)
        fail(DeviceStep::Write, errno);
    // A hang-up or error with no room to write: the other side is gone.
    if (ready > 0 && (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(entry.revents & POLLOUT))
        fail(DeviceStep::Write, waitKind_ == WaitKind::Pipe ? EPIPE : EIO);
}

void DeviceFile::writeAll(std::string_view bytes)
{
    auto deadline = Clock::now() + stallLimit_;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written > 0) {
            const bool queueFull = std::size_t(written) < bytes.size();
            bytes.remove_prefix(std::size_t(written));
            deadline = Clock::now() + stallLimit_;
            // A short write means the queue is full: wait for room instead of
            // asking again at once (the lp driver cannot be waited for).
            if (queueFull && waitKind_ != WaitKind::Retry)
                waitForRoom(deadline);
            continue;
        }
        const int error = written < 0 ? errno : EAGAIN;  // nothing taken: wait as for a full queue
        if (error == EINTR)
            continue;
        if (error != EAGAIN)
            fail(DeviceStep::Write, error);
        if (Clock::now() >= deadline)
            fail(DeviceStep::Write, kStalledError);
        waitForRoom(deadline);
    }
}

void DeviceFile::drain()
{
    if (!isTerminal())
        return;
    // Watch the output queue shrink rather than calling tcdrain, which can
    // wait for ever on a handshake that is never released.
    auto deadline = Clock::now() + stallLimit_;
    int last = -1;
    for (;;) {
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0)
            fail(DeviceStep::Drain, errno);
        if (queued == 0)
            return;
        if (last >= 0 && queued < last)
            deadline = Clock::now() + stallLimit_;
        last = queued;
        pollfd entry{fd_, 0, 0};
        if (::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLHUP | POLLERR)))
            fail(DeviceStep::Drain, EIO);
        if (Clock::now() >= deadline)
            fail(DeviceStep::Drain, kStalledError);
        std::this_thread::sleep_for(kDrainInterval);
    }
}

void DeviceFile::close()
{
    drain();
    const int fd = fd_;
    fd_ = -1;
    if (isTerminal())
        ::ioctl(fd, TIOCNXCL);
    if (::close(fd) != 0 && errno != EINTR)
        fail(DeviceStep::Drain, errno);
}

void DeviceFile::release()
{
    if (isTerminal())
        ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}
