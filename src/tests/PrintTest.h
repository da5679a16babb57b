// PrintTest: prints the chosen line the chosen number of times on the chosen
// port, then feeds the paper on.
#pragma once

#include "MSComm.h"
#include "PrinterPorts.h"
#include "WindowModel.h"

inline constexpr int kFeedTailLines = 6;

// control: the window's serial communications control.
void runPrintTest(const WindowModel& window, const PrinterPorts& ports, MSComm& control);

// RTS/CTS only where the operator can see and has picked it.
Handshake handshakeChosen(const WindowModel& window);
