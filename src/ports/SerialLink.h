// SerialLink: one configure-open-write-close cycle of the serial control for
// the print test, with its fixed buffer sizes and "speed,N,8,1" framing.
#pragma once

#include "MSComm.h"

#include <string_view>

class SerialLink {
public:
    // Sets every property afresh (nothing is kept from an earlier link), opens
    // the port and discards whatever was pending in either direction.
    static SerialLink open(MSComm& control, int portNumber, Handshake handshake, std::string_view speedText);
    ~SerialLink();
    SerialLink(SerialLink&& other) noexcept;
    SerialLink& operator=(SerialLink&&) = delete;

    void write(std::string_view utf8) { control_->setOutput(utf8); }
    void close();

private:
    explicit SerialLink(MSComm& control) : control_(&control) {}

    MSComm* control_;
};
