// The failure texts an operator can meet, each with the step, the device by
// name and host path, the reason and what to do.
#include "DeviceError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

using testing::HasSubstr;

namespace {

struct MessageCase {
    std::string name;
    DeviceStep step;
    PortKind kind;
    int error;
    std::vector<std::string> mentions;
};

class FailureText : public testing::TestWithParam<MessageCase> {};

TEST_P(FailureText, NamesDeviceReasonAndRemedy)
{
    const MessageCase& c = GetParam();
    HostDevice device{c.kind == PortKind::Serial ? "com1" : "lpt1:",
                      c.kind == PortKind::Serial ? "/dev/ttyS0" : "/dev/lp0", c.kind, "/run/user/1000/kestrova-px9/dosdevices", true};
    const std::string text = describeDeviceFailure(c.step, device, c.error);
    EXPECT_THAT(text, HasSubstr(device.name + " (" + device.hostPath + ")"));
    for (const std::string& mention : c.mentions)
        EXPECT_THAT(text, HasSubstr(mention));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FailureText,
    testing::Values(
        MessageCase{"SerialPermission", DeviceStep::Open, PortKind::Serial, EACCES,
                    {"Could not open", "Permission denied", "\"dialout\"", "log out and in again"}},
        MessageCase{"PrinterPermission", DeviceStep::Open, PortKind::Parallel, EACCES, {"\"lp\"", "usermod -aG lp"}},
        MessageCase{"Missing", DeviceStep::Open, PortKind::Serial, ENOENT,
                    {"No such file", "ln -sfn /dev/ttyUSB0 \"/run/user/1000/kestrova-px9/dosdevices/com1\""}},
        MessageCase{"MissingPrinter", DeviceStep::Open, PortKind::Parallel, ENOENT,
                    {"ln -sfn /dev/usb/lp0 \"/run/user/1000/kestrova-px9/dosdevices/lpt1\""}},
        MessageCase{"LockedByAnother", DeviceStep::Lock, PortKind::Serial, EWOULDBLOCK, {"in use by another program"}},
        MessageCase{"BusyOnOpen", DeviceStep::Open, PortKind::Serial, EBUSY, {"in use by another program"}},
        MessageCase{"NotASerialPort", DeviceStep::Configure, PortKind::Serial, ENOTTY, {"Could not set up", "not a serial port"}},
        MessageCase{"OutOfPaper", DeviceStep::Write, PortKind::Parallel, ENOSPC, {"Could not write to", "out of paper"}},
        MessageCase{"Gone", DeviceStep::Write, PortKind::Serial, EIO, {"Input/output error", "gone"}},
        MessageCase{"NoDevice", DeviceStep::Open, PortKind::Serial, ENXIO, {"gone or nothing is attached"}},
        MessageCase{"Stalled", DeviceStep::Drain, PortKind::Serial, kStalledError,
                    {"Could not finish sending to", "accepted no data for 10 seconds", "handshake"}}),
    [](const auto& info) { return info.param.name; });

TEST(FailureText, UntrustedFolderIsExplained)
{
    HostDevice device{"com5", "/tmp/x/dosdevices/com5", PortKind::Serial, "/tmp/x/dosdevices", false};
    EXPECT_THAT(describeDeviceFailure(DeviceStep::Open, device, ENOENT), HasSubstr("is not trusted"));
}

} // namespace
