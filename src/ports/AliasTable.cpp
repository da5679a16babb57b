#include "AliasTable.h"

#include <string>

namespace {

std::string hostPathOfRawTarget(std::string_view raw)
{
    constexpr std::string_view prefix = "\\Device\\Serial";
    if (!raw.starts_with(prefix) || raw.size() != prefix.size() + 1)
        return {};
    const char unit = raw.back();
    if (unit < '0' || unit > '3')
        return {};
    return "/dev/ttyS" + std::string(1, unit);
}

} // namespace

bool defineDosDevice(const DeviceFolder& folder, unsigned flags, std::string_view name,
                     std::string_view targetPath)
{
    if (flags != kRawTargetPath)
        return false;
    const std::string hostPath = hostPathOfRawTarget(targetPath);
    return !hostPath.empty() && folder.link(name, hostPath);
}

void defineAliases(const DeviceFolder& folder)
{
    for (const AliasEntry& alias : kAliasTable)
        defineDosDevice(folder, kRawTargetPath, alias.name, alias.rawTargetPath);
}
