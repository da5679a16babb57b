// MSComm: a small serial communications control on termios, with the
// properties the print test sets. Properties are set first; PortOpen = true
// then opens device "com" + CommPort through the device-name folder, applies
// every setting and reads them back.
//
//   setCommPort .. setInputLen  stored; take effect at the next open
//   setSettings(text)           "speed,parity,data,stop"; a refused text fails here
//   setPortOpen(true/false)     open and configure / send the rest, drain, close
//   setOutBufferCount(0)        discards output not yet sent
//   setInBufferCount(0)         discards input not yet read
//   setOutput(text)             sends text in code page 936 after earlier output
//   abandon()                   releases the port at once (after a failure)
#pragma once

#include "DeviceFile.h"
#include "DeviceFolder.h"
#include "SerialSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class Handshake : std::int32_t { None = 0, XOnXOff = 1, RtsCts = 2, RtsCtsXOnXOff = 3 };

class MSComm {
public:
    explicit MSComm(DeviceFolder folder, std::chrono::milliseconds stallLimit = kDefaultStallLimit);

    void setCommPort(std::int16_t port);
    void setHandshaking(Handshake handshake);
    void setOutBufferSize(std::int16_t bytes);
    void setInBufferSize(std::int16_t bytes);
    void setRThreshold(std::int16_t bytes) { receiveThreshold_ = bytes; }
    void setSThreshold(std::int16_t bytes) { sendThreshold_ = bytes; }
    void setInputLen(std::int16_t bytes) { inputLength_ = bytes; }
    void setSettings(std::string_view text);
    void setPortOpen(bool open);
    void setOutBufferCount(std::int16_t count);
    void setInBufferCount(std::int16_t count);
    void setOutput(std::string_view utf8);
    void abandon();

    std::int16_t CommPort() const { return commPort_; }
    Handshake Handshaking() const { return handshake_; }
    std::int16_t OutBufferSize() const { return outBufferSize_; }
    std::int16_t InBufferSize() const { return inBufferSize_; }
    const std::string& Settings() const { return settingsText_; }
    bool PortOpen() const { return port_.has_value(); }
    std::int16_t OutBufferCount() const { return std::int16_t(pending_.size()); }

private:
    DeviceFile& openPort(const char* property);
    void configure(DeviceFile& port) const;
    void checkTaken(DeviceFile& port, const termios& wanted) const;
    void sendFullBuffers();

    DeviceFolder folder_;
    std::chrono::milliseconds stallLimit_;
    std::int16_t commPort_ = 1;
    Handshake handshake_ = Handshake::None;
    std::int16_t outBufferSize_ = 512;
    std::int16_t inBufferSize_ = 1024;
    std::int16_t receiveThreshold_ = 0, sendThreshold_ = 0, inputLength_ = 0;
    std::string settingsText_ = "9600,N,8,1";
    SerialSettings settings_;
    std::optional<DeviceFile> port_;
    std::string pending_;  // output not yet handed to the driver, below OutBufferSize
};
