// PrinterPorts: what the printer tests need to reach a port: the device-name
// folder, the build's serial offset, and how long a port may take no data
// before it counts as stalled.
#pragma once

#include "DeviceFile.h"
#include "DeviceFolder.h"

#include <chrono>

struct PrinterPorts {
    DeviceFolder folder;
    int serialOffset = 0;
    std::chrono::milliseconds stallLimit = kDefaultStallLimit;
};
