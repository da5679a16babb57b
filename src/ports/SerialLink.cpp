#include "SerialLink.h"

#include <string>

SerialLink SerialLink::open(MSComm& control, int portNumber, Handshake handshake, std::string_view speedText)
{
    control.setCommPort(std::int16_t(portNumber));
    control.setHandshaking(handshake);
    control.setOutBufferSize(1024);
    control.setInBufferSize(512);
    control.setRThreshold(1);
    control.setSThreshold(1);
    control.setInputLen(1);
    control.setSettings(std::string(speedText) + ",N,8,1");
    control.setPortOpen(true);
    SerialLink link(control);
    control.setOutBufferCount(0);
    control.setInBufferCount(0);
    return link;
}

SerialLink::SerialLink(SerialLink&& other) noexcept : control_(other.control_)
{
    other.control_ = nullptr;
}

// A link left open by a failure lets the port go without waiting for it.
SerialLink::~SerialLink()
{
    if (control_ && control_->PortOpen())
        control_->abandon();
}

void SerialLink::close()
{
    control_->setPortOpen(false);
}
