// CashDrawerTest: pulses the drawer output of the chosen port's printer and
// prints a confirmation line, using the port's line settings as they are.
#pragma once

#include "PrinterPorts.h"
#include "WindowModel.h"

#include <string_view>

// ESC p m t1 t2: pulse connector pin 2 (m = 0) for 60 x 2 ms = 120 ms on,
// then 255 x 2 ms = 510 ms off; the printer counts in 2 ms units.
inline constexpr std::string_view kDrawerKick{"\x1B\x70\x00\x3C\xFF", 5};
inline constexpr std::string_view kDrawerConfirmation = "钱箱打开成功，欢迎使用Kestrova打印系列";

void runCashDrawerTest(const WindowModel& window, const PrinterPorts& ports);
