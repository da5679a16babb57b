// DeviceError: the one place where a system error number becomes an
// operator-facing text. Every text names the step that failed, the device by
// its name and its host path, the system's reason and, where it helps, what
// the operator can do about it.
#pragma once

#include "Failure.h"
#include "HostDevice.h"

#include <chrono>
#include <string>

enum class DeviceStep {
    Open,       // opening the device
    Lock,       // taking the device for this program alone
    Configure,  // applying or reading back line settings
    Write,      // sending bytes
    Drain,      // waiting for sent bytes to leave the host
};

// Error number used for "no progress within the stall limit".
inline constexpr int kStalledError = ETIMEDOUT;

std::string describeDeviceFailure(DeviceStep step, const HostDevice& device, int error,
                                  std::chrono::milliseconds stallLimit = std::chrono::seconds(10));

[[noreturn]] void throwDeviceFailure(DeviceStep step, const HostDevice& device, int error,
                                     std::chrono::milliseconds stallLimit = std::chrono::seconds(10));

// A failure that has no error number, such as a setting the port did not take.
[[noreturn]] void throwDeviceProblem(DeviceStep step, const HostDevice& device,
                                     const std::string& reason, const std::string& hint = {});
