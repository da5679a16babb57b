// PortTarget: the serial port or parallel device a printer test writes to,
// resolved from what the window shows at the moment of the click.
//
//   resolveSerial(text, shown, offset)  "COM1".."COM4" exactly -> com(n+offset)
//   resolveParallel(text, shown)        "LPT1"/"LPT2" exactly -> "lpt1:"/"lpt2:"
#pragma once

#include "HostDevice.h"

#include <optional>
#include <string>
#include <string_view>

struct PortTarget {
    PortKind kind = PortKind::Serial;
    int chosen = 0;          // serial: the number n the operator chose, 1..4
    int portNumber = 0;      // serial: n + SerialOffset
    std::string deviceName;  // "com1".."com8", "lpt1:", "lpt2:"
};

// A list's text only counts when it names a port exactly (same case, no
// blanks) and the list is showing.
std::optional<PortTarget> resolveSerial(std::string_view portText, bool portShown, int serialOffset);
std::optional<PortTarget> resolveParallel(std::string_view lportText, bool lportShown);
