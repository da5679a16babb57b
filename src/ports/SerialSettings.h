// SerialSettings: the serial control's settings text ("9600,N,8,1": speed,
// parity, data bits, stop bits) checked and turned into termios values.
//
//   parseSerialSettings(text)  the settings, or a Failure naming the text
//   kAcceptedSpeeds            the speeds a link can run at
#pragma once

#include <array>
#include <string_view>
#include <termios.h>

struct SerialSettings {
    int bitsPerSecond = 9600;
    speed_t speedCode = B9600;
    char parity = 'N';  // 'N', 'E' or 'O'
    int dataBits = 8;   // 5 to 8
    int stopBits = 1;   // 1 or 2
};

struct AcceptedSpeed {
    int bitsPerSecond;
    speed_t code;
};

// The standard rates from 110 to 115200 bits per second that Linux serial
// drivers take.
inline constexpr std::array<AcceptedSpeed, 14> kAcceptedSpeeds{{
    {110, B110}, {150, B150}, {200, B200}, {300, B300}, {600, B600}, {1200, B1200}, {1800, B1800},
    {2400, B2400}, {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600},
    {115200, B115200},
}};

SerialSettings parseSerialSettings(std::string_view text);
