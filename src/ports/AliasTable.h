// AliasTable: the serial alias names COM5-COM8 and the raw kernel paths of
// the first four serial devices they stand for, and the call that defines
// them in the device-name folder.
#pragma once

#include "DeviceFolder.h"

#include <array>
#include <string_view>

struct AliasEntry {
    std::string_view name;
    std::string_view rawTargetPath;
};

inline constexpr std::array<AliasEntry, 4> kAliasTable{{
    {"COM5", "\\Device\\Serial0"},
    {"COM6", "\\Device\\Serial1"},
    {"COM7", "\\Device\\Serial2"},
    {"COM8", "\\Device\\Serial3"},
}};

// The flag that says the target is a raw kernel path.
inline constexpr unsigned kRawTargetPath = 1;

// Defines one DOS device name; false when it could not. Only raw kernel
// serial paths (\Device\SerialK -> /dev/ttySK) are understood.
bool defineDosDevice(const DeviceFolder& folder, unsigned flags, std::string_view name,
                     std::string_view targetPath);

// Defines every alias of the table in order. A definition that fails is
// ignored: the port it names then cannot be opened, which says so itself.
void defineAliases(const DeviceFolder& folder);
