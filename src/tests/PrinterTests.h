// PrinterTests: hooks the tester's actions into the window: the serial
// aliases at start-up and the cash drawer test on Command1.
#pragma once

#include "PrinterPorts.h"
#include "WindowModel.h"

void attachPrinterTests(WindowModel& window, const PrinterPorts& ports);
