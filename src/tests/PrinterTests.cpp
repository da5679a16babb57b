#include "PrinterTests.h"

#include "AliasTable.h"
#include "CashDrawerTest.h"

void attachPrinterTests(WindowModel& window, const PrinterPorts& ports)
{
    window.attachLoad([&ports](WindowModel&) { defineAliases(ports.folder); });
    window.attachCashDrawerTest([&ports](WindowModel& model) { runCashDrawerTest(model, ports); });
}
