// DeviceFile: an open printer port that belongs to this program alone and
// takes every byte it is given, or fails with a clear message.
//
//   open(device, access, stallLimit)  O_NOCTTY|O_NONBLOCK|O_CLOEXEC, flock,
//                                     TIOCEXCL on a tty
//   writeAll(bytes)                   whole write: short writes, EINTR and
//                                     EAGAIN are continued; no progress for
//                                     stallLimit is a failure
//   drain()                           waits until a tty's output queue is
//                                     empty, within the same stall limit
//   close()                           drain, release, close; failures thrown
//   ~DeviceFile()                     releases without waiting (after a failure)
#pragma once

#include "DeviceError.h"
#include "HostDevice.h"

#include <chrono>
#include <string_view>

inline constexpr std::chrono::milliseconds kDefaultStallLimit = std::chrono::seconds(10);

class DeviceFile {
public:
    enum class Access { WriteOnly, ReadWrite };

    static DeviceFile open(const HostDevice& device, Access access,
                           std::chrono::milliseconds stallLimit = kDefaultStallLimit);
    ~DeviceFile();
    DeviceFile(DeviceFile&& other) noexcept;
    DeviceFile& operator=(DeviceFile&&) = delete;
    DeviceFile(const DeviceFile&) = delete;
    DeviceFile& operator=(const DeviceFile&) = delete;

    void writeAll(std::string_view bytes);
    void drain();
    void close();

    int descriptor() const { return fd_; }
    bool isTerminal() const { return waitKind_ == WaitKind::Terminal; }
    const HostDevice& device() const { return device_; }

    [[noreturn]] void fail(DeviceStep step, int error) const;

private:
    // How to wait for a device that is not ready: poll where the driver
    // supports it; the lp driver does not, so it is retried on a timer.
    enum class WaitKind { Terminal, Pipe, Retry };

    DeviceFile(HostDevice device, int fd, WaitKind waitKind, std::chrono::milliseconds stallLimit);
    void waitForRoom(std::chrono::steady_clock::time_point deadline);
    void release();

    HostDevice device_;
    int fd_ = -1;
    WaitKind waitKind_;
    std::chrono::milliseconds stallLimit_;
};
