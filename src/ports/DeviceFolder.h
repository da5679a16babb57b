// DeviceFolder: the program's own table of DOS device names on Linux, a
// folder of symbolic links named com1 ... com8, lpt1, lpt2.
//
//   forCurrentUser()  the folder under $XDG_RUNTIME_DIR (absolute) or /tmp
//   trusted()         creates what is missing (0700); false when the folder is
//                     not the user's own or others can write into it
//   link(name, path)  points an entry at a host path, replacing it atomically
//   locate(name)      the host device a name such as "COM1" or "lpt1:" reaches
#pragma once

#include "HostDevice.h"

#include <filesystem>
#include <string>
#include <string_view>

class DeviceFolder {
public:
    explicit DeviceFolder(std::filesystem::path path);
    static DeviceFolder forCurrentUser();

    const std::filesystem::path& path() const { return path_; }
    bool trusted() const;
    bool link(std::string_view name, const std::string& hostPath) const;
    HostDevice locate(std::string_view deviceName) const;

private:
    std::filesystem::path path_;
};

// "COM1", "lpt1:" -> "com1", "lpt1": lower case, one trailing colon dropped.
std::string entryName(std::string_view deviceName);
