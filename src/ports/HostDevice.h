// HostDevice: a printer port as the program names it ("com1", "lpt2:") and
// the Linux path that name reaches. Failure texts show both.
#pragma once

#include <string>

enum class PortKind { Serial, Parallel };

struct HostDevice {
    std::string name;      // the device name as opened, e.g. "com5" or "lpt1:"
    std::string hostPath;  // what the name reaches on this host, e.g. "/dev/ttyS0"
    PortKind kind = PortKind::Serial;
    std::string folder;    // the device-name folder, for the hint on a missing link
    bool folderTrusted = true;
};
