#include "PortTarget.h"

std::optional<PortTarget> resolveSerial(std::string_view portText, bool portShown, int serialOffset)
{
    for (int n = 1; n <= 4; ++n) {
        if (portShown && portText == "COM" + std::to_string(n)) {
            const int port = n + serialOffset;
            return PortTarget{PortKind::Serial, n, port, "com" + std::to_string(port)};
        }
    }
    return std::nullopt;
}

std::optional<PortTarget> resolveParallel(std::string_view lportText, bool lportShown)
{
    if (lportText == "LPT1" && lportShown)
        return PortTarget{PortKind::Parallel, 0, 0, "lpt1:"};
    if (lportText == "LPT2" && lportShown)
        return PortTarget{PortKind::Parallel, 0, 0, "lpt2:"};
    return std::nullopt;
}
