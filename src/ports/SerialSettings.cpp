#include "SerialSettings.h"

#include "Failure.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string_view> splitFields(std::string_view text)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const auto comma = text.find(',');
        fields.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return fields;
        text.remove_prefix(comma + 1);
    }
}

std::string speedList()
{
    std::string list;
    for (const AcceptedSpeed& speed : kAcceptedSpeeds)
        list += (list.empty() ? "" : ", ") + std::to_string(speed.bitsPerSecond);
    return list;
}

[[noreturn]] void refuse(std::string_view text, const std::string& why)
{
    throw Failure("The serial settings \"" + std::string(text) + "\" cannot be used: " + why);
}

} // namespace

SerialSettings parseSerialSettings(std::string_view text)
{
    const std::vector<std::string_view> fields = splitFields(text);
    if (fields.size() != 4)
        refuse(text, "they must be speed, parity, data bits and stop bits, such as 9600,N,8,1.");

    SerialSettings settings;
    const std::string_view speed = fields[0];
    bool found = false;
    for (const AcceptedSpeed& accepted : kAcceptedSpeeds) {
        if (speed == std::to_string(accepted.bitsPerSecond)) {
            settings.bitsPerSecond = accepted.bitsPerSecond;
            settings.speedCode = accepted.code;
            found = true;
        }
    }
    if (!found)
        refuse(text, "the speed \"" + std::string(speed) + "\" is not one a serial port runs at. Choose one of "
                         + speedList() + " bits per second.");

    if (fields[1] != "N" && fields[1] != "E" && fields[1] != "O")
        refuse(text, "the parity must be N, E or O.");
    settings.parity = fields[1][0];
    if (fields[2].size() != 1 || fields[2][0] < '5' || fields[2][0] > '8')
        refuse(text, "the data bits must be 5, 6, 7 or 8.");
    settings.dataBits = fields[2][0] - '0';
    if (fields[3] != "1" && fields[3] != "2")
        refuse(text, "the stop bits must be 1 or 2.");
    settings.stopBits = fields[3][0] - '0';
    return settings;
}
