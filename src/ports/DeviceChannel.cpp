#include "DeviceChannel.h"

#include "Cp936.h"

DeviceChannel DeviceChannel::open(const DeviceFolder& folder, std::string_view deviceName,
                                  std::chrono::milliseconds stallLimit)
{
    return DeviceChannel(DeviceFile::open(folder.locate(deviceName), DeviceFile::Access::WriteOnly, stallLimit));
}

DeviceChannel::DeviceChannel(DeviceFile file) : file_(std::move(file))
{
    if (!file_.isTerminal())
        return;
    // A tty turns a line feed into carriage return plus line feed (and more)
    // unless output processing is off; the printer must get our bytes only.
    termios settings {};
    if (::tcgetattr(file_.descriptor(), &settings) != 0)
        file_.fail(DeviceStep::Configure, errno);
    if (!(settings.c_oflag & OPOST))
        return;
    savedSettings_ = settings;
    settings.c_oflag &= ~tcflag_t(OPOST);
    if (::tcsetattr(file_.descriptor(), TCSANOW, &settings) != 0)
        file_.fail(DeviceStep::Configure, errno);
}

DeviceChannel::~DeviceChannel()
{
    if (file_.descriptor() >= 0)
        restoreSettings();
}

void DeviceChannel::writeText(std::string_view utf8)
{
    file_.writeAll(encodeCp936(utf8));
}

void DeviceChannel::close()
{
    file_.drain();
    restoreSettings();
    file_.close();
}

// The port is handed back as it was found, output processing included.
void DeviceChannel::restoreSettings()
{
    if (savedSettings_)
        ::tcsetattr(file_.descriptor(), TCSANOW, &*savedSettings_);
    savedSettings_.reset();
}
