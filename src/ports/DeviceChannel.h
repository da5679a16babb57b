// DeviceChannel: the plain write path to a printer port by device name
// ("com1" ... "com8", "lpt1:", "lpt2:"). The port's line settings are used
// as they are; only the tty's output processing is switched off while the
// channel is open, so that the bytes reach the printer exactly as written.
#pragma once

#include "DeviceFile.h"
#include "DeviceFolder.h"

#include <optional>
#include <string_view>
#include <termios.h>

class DeviceChannel {
public:
    static DeviceChannel open(const DeviceFolder& folder, std::string_view deviceName,
                              std::chrono::milliseconds stallLimit = kDefaultStallLimit);
    ~DeviceChannel();
    DeviceChannel(DeviceChannel&&) noexcept = default;
    DeviceChannel& operator=(DeviceChannel&&) = delete;

    void write(std::string_view bytes) { file_.writeAll(bytes); }
    void writeText(std::string_view utf8);
    void close();

private:
    explicit DeviceChannel(DeviceFile file);
    void restoreSettings();

    DeviceFile file_;
    std::optional<termios> savedSettings_;
};
