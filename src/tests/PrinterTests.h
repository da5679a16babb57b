// PrinterTests: hooks the tester's actions into the window: the serial
// aliases at start-up, the cash drawer test on Command1 and the print test
// on Command3, which drives the window's serial control MSComm1.
#pragma once

#include "MSComm.h"
#include "PrinterPorts.h"
#include "WindowModel.h"

class PrinterTests {
public:
    explicit PrinterTests(PrinterPorts ports);
    // The window must not outlive this object.
    void attachTo(WindowModel& window);

private:
    PrinterPorts ports_;
    MSComm MSComm1;
};
