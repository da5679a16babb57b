#include "DeviceError.h"

#include <cerrno>
#include <cstring>

namespace {

std::string stepText(DeviceStep step)
{
    switch (step) {
    case DeviceStep::Open:
    case DeviceStep::Lock:
        return "open";
    case DeviceStep::Configure:
        return "set up";
    case DeviceStep::Write:
        return "write to";
    case DeviceStep::Drain:
        return "finish sending to";
    }
    return "use";
}

std::string groupHint(const HostDevice& device)
{
    const bool serial = device.kind == PortKind::Serial;
    const std::string group = serial ? "dialout" : "lp";
    return "Your user must be a member of the group \"" + group + "\", which owns "
        + (serial ? "serial" : "printer") + " ports: sudo usermod -aG " + group
        + " $USER, then log out and in again.";
}

std::string missingHint(const HostDevice& device)
{
    std::string bare = device.name;
    if (!bare.empty() && bare.back() == ':')
        bare.pop_back();
    const std::string example = device.kind == PortKind::Serial ? "/dev/ttyUSB0" : "/dev/usb/lp0";
    if (!device.folderTrusted)
        return "The device-name folder " + device.folder
            + " is not trusted (it must be yours and writable by you alone), so no link in it is used. "
              "Fix its owner and mode, then link the port: ln -sfn " + example + " \""
            + device.folder + "/" + bare + "\"";
    return "Connect the printer, or link the name to the device it is attached to: ln -sfn " + example
        + " \"" + device.folder + "/" + bare + "\"";
}

bool isInUse(DeviceStep step, int error)
{
    return error == EBUSY || ((step == DeviceStep::Lock) && (error == EWOULDBLOCK || error == EAGAIN));
}

std::string reasonAndHint(DeviceStep step, const HostDevice& device, int error,
                          std::chrono::milliseconds stallLimit)
{
    const std::string reason = std::strerror(error);
    if (isInUse(step, error))
        return "The port is in use by another program. Close the other program (a terminal, a "
               "modem manager or a print spooler) and try again.";
    if (error == kStalledError) {
        const auto seconds = std::chrono::duration_cast<std::chrono::duration<double>>(stallLimit).count();
        char limit[32];
        std::snprintf(limit, sizeof limit, "%g", seconds);
        return std::string("The printer accepted no data for ") + limit
            + " seconds. Check that it is switched on, has paper, that the cable is in, and that the "
              "handshake setting matches the printer.";
    }
    switch (error) {
    case EACCES:
    case EPERM:
        return reason + ".\n" + groupHint(device);
    case ENOENT:
        return reason + ".\n" + missingHint(device);
    case ENOTTY:
        return reason + ".\nThis is not a serial port; link the name to a serial device.";
    case ENOSPC:
        if (device.kind == PortKind::Parallel)
            return reason + ".\nThe printer is out of paper: load paper and try again.";
        break;
    case EIO:
    case ENXIO:
    case ENODEV:
    case EPIPE:
        return reason + ".\nThe device is gone or nothing is attached to it: check that it is "
                        "plugged in and switched on.";
    default:
        break;
    }
    return reason + ".";
}

} // namespace

std::string describeDeviceFailure(DeviceStep step, const HostDevice& device, int error,
                                  std::chrono::milliseconds stallLimit)
{
    return "Could not " + stepText(step) + " " + device.name + " (" + device.hostPath + "): "
        + reasonAndHint(step, device, error, stallLimit);
}

void throwDeviceFailure(DeviceStep step, const HostDevice& device, int error,
                        std::chrono::milliseconds stallLimit)
{
    throw Failure(describeDeviceFailure(step, device, error, stallLimit));
}

void throwDeviceProblem(DeviceStep step, const HostDevice& device, const std::string& reason,
                        const std::string& hint)
{
    std::string text = "Could not " + stepText(step) + " " + device.name + " (" + device.hostPath
        + "): " + reason + ".";
    if (!hint.empty())
        text += "\n" + hint;
    throw Failure(text);
}
