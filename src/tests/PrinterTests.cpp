#include "PrinterTests.h"

#include "AliasTable.h"
#include "CashDrawerTest.h"
#include "PrintTest.h"

PrinterTests::PrinterTests(PrinterPorts ports) : ports_(std::move(ports)), MSComm1(ports_.folder, ports_.stallLimit)
{
}

void PrinterTests::attachTo(WindowModel& window)
{
    window.attachLoad([this](WindowModel&) { defineAliases(ports_.folder); });
    window.attachCashDrawerTest([this](WindowModel& model) { runCashDrawerTest(model, ports_); });
    window.attachPrintTest([this](WindowModel& model) { runPrintTest(model, ports_, MSComm1); });
}
