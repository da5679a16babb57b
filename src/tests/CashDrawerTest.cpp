#include "CashDrawerTest.h"

#include "DeviceChannel.h"
#include "PortTarget.h"

#include <string>

namespace {

// Three writes: the command, the confirmation with its line feed, then a
// second line feed that pushes the line out of a line printer.
void sendDrawerStream(const PrinterPorts& ports, const std::string& deviceName)
{
    DeviceChannel channel = DeviceChannel::open(ports.folder, deviceName, ports.stallLimit);
    channel.write(kDrawerKick);
    channel.writeText(std::string(kDrawerConfirmation) + "\n");
    channel.write("\n");
    channel.close();
}

} // namespace

void runCashDrawerTest(const WindowModel& window, const PrinterPorts& ports)
{
    if (const auto serial = resolveSerial(window.Port.text, window.Port.shown, ports.serialOffset))
        sendDrawerStream(ports, serial->deviceName);
    if (const auto parallel = resolveParallel(window.LPort.text, window.LPort.shown))
        sendDrawerStream(ports, parallel->deviceName);
}
