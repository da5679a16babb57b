#include "PrintTest.h"

#include "AliasTable.h"
#include "DeviceChannel.h"
#include "PortTarget.h"
#include "RepeatCount.h"
#include "SerialLink.h"

#include <string>

namespace {

// The line counter is an int, wider than the 16-bit count, so a count of
// 32767 ends the loop normally instead of overflowing after the last line.
void printSerial(const WindowModel& window, MSComm& control, int portNumber, int repeatCount)
{
    SerialLink link = SerialLink::open(control, portNumber, handshakeChosen(window), window.Speed.text);
    for (int line = 1; line <= repeatCount; ++line) {
        link.write(window.Prin.text);
        link.write("\n");
    }
    for (int feed = 0; feed < kFeedTailLines; ++feed)
        link.write("\n");
    link.close();
}

void printParallel(const WindowModel& window, const PrinterPorts& ports, const std::string& deviceName,
                   int repeatCount)
{
    DeviceChannel channel = DeviceChannel::open(ports.folder, deviceName, ports.stallLimit);
    for (int line = 1; line <= repeatCount; ++line)
        channel.writeText(window.Prin.text + "\n");
    for (int feed = 0; feed < kFeedTailLines; ++feed)
        channel.write("\n");
    channel.close();
}

} // namespace

Handshake handshakeChosen(const WindowModel& window)
{
    return window.Hand.enabled && window.Hand.selected ? Handshake::RtsCts : Handshake::None;
}

void runPrintTest(const WindowModel& window, const PrinterPorts& ports, MSComm& control)
{
    defineAliases(ports.folder);
    const int repeatCount = parseRepeatCount(window.Turn.text);
    if (const auto serial = resolveSerial(window.Port.text, window.Port.shown, ports.serialOffset))
        printSerial(window, control, serial->portNumber, repeatCount);
    if (const auto parallel = resolveParallel(window.LPort.text, window.LPort.shown))
        printParallel(window, ports, parallel->deviceName, repeatCount);
}
