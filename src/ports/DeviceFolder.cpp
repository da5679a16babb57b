#include "DeviceFolder.h"

#include <cctype>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A folder is trusted when it is a real directory of ours that no one else
// can write into; otherwise someone else could point our port names anywhere.
bool isPrivateDirectory(const fs::path& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool ensurePrivateDirectory(const fs::path& path)
{
    if (isPrivateDirectory(path))
        return true;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    return isPrivateDirectory(path);
}

// The host's own names, used when the folder has no entry for a name.
std::string hostDefault(const std::string& entry)
{
    if (entry.size() == 4 && entry.starts_with("com") && entry[3] >= '1' && entry[3] <= '4')
        return "/dev/ttyS" + std::string(1, char(entry[3] - 1));
    if (entry.size() == 4 && entry.starts_with("lpt") && entry[3] >= '1' && entry[3] <= '2')
        return "/dev/lp" + std::string(1, char(entry[3] - 1));
    return {};
}

} // namespace

std::string entryName(std::string_view deviceName)
{
    if (deviceName.ends_with(':'))
        deviceName.remove_suffix(1);
    std::string entry(deviceName);
    for (char& c : entry)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return entry;
}

DeviceFolder::DeviceFolder(fs::path path) : path_(std::move(path)) {}

DeviceFolder DeviceFolder::forCurrentUser()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
        return DeviceFolder(fs::path(runtime) / "kestrova-px9" / "dosdevices");
    return DeviceFolder(fs::path("/tmp") / ("kestrova-px9-" + std::to_string(::geteuid())) / "dosdevices");
}

bool DeviceFolder::trusted() const
{
    return ensurePrivateDirectory(path_.parent_path()) && ensurePrivateDirectory(path_);
}

bool DeviceFolder::link(std::string_view name, const std::string& hostPath) const
{
    if (!trusted())
        return false;
    const fs::path entry = path_ / entryName(name);
    const fs::path staged = path_ / ("." + entryName(name) + "." + std::to_string(::getpid()) + ".new");
    ::unlink(staged.c_str());
    if (::symlink(hostPath.c_str(), staged.c_str()) != 0)
        return false;
    if (::rename(staged.c_str(), entry.c_str()) != 0) {
        ::unlink(staged.c_str());
        return false;
    }
    return true;
}

HostDevice DeviceFolder::locate(std::string_view deviceName) const
{
    HostDevice device;
    device.name = std::string(deviceName);
    device.kind = entryName(deviceName).starts_with("lpt") ? PortKind::Parallel : PortKind::Serial;
    device.folder = path_.string();
    device.folderTrusted = trusted();

    const std::string entry = entryName(deviceName);
    const fs::path entryPath = path_ / entry;
    std::error_code error;
    if (device.folderTrusted && fs::is_symlink(entryPath, error)) {
        fs::path target = fs::read_symlink(entryPath, error);
        device.hostPath = (target.is_relative() ? path_ / target : target).string();
        return device;
    }
    const std::string fallback = hostDefault(entry);
    device.hostPath = fallback.empty() ? entryPath.string() : fallback;
    return device;
}
