#include "MSComm.h"

#include "Cp936.h"
#include "DeviceError.h"
#include "Failure.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>

namespace {

[[noreturn]] void invalidProperty(const std::string& what)
{
    throw Failure("Serial port control: " + what);
}

tcflag_t dataBitsFlag(int bits)
{
    switch (bits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

bool usesRtsCts(Handshake handshake)
{
    return handshake == Handshake::RtsCts || handshake == Handshake::RtsCtsXOnXOff;
}

bool usesXOnXOff(Handshake handshake)
{
    return handshake == Handshake::XOnXOff || handshake == Handshake::RtsCtsXOnXOff;
}

} // namespace

MSComm::MSComm(DeviceFolder folder, std::chrono::milliseconds stallLimit)
    : folder_(std::move(folder)), stallLimit_(stallLimit), settings_(parseSerialSettings(settingsText_))
{
}

void MSComm::setCommPort(std::int16_t port)
{
    if (port < 1)
        invalidProperty("there is no serial port number " + std::to_string(port) + ".");
    commPort_ = port;
}

void MSComm::setHandshaking(Handshake handshake)
{
    if (std::int32_t(handshake) < 0 || std::int32_t(handshake) > 3)
        invalidProperty("unknown handshake " + std::to_string(std::int32_t(handshake)) + ".");
    handshake_ = handshake;
}

void MSComm::setOutBufferSize(std::int16_t bytes)
{
    if (bytes < 1)
        invalidProperty("the output buffer must hold at least one byte.");
    outBufferSize_ = bytes;
}

void MSComm::setInBufferSize(std::int16_t bytes)
{
    if (bytes < 1)
        invalidProperty("the input buffer must hold at least one byte.");
    inBufferSize_ = bytes;
}

void MSComm::setSettings(std::string_view text)
{
    settings_ = parseSerialSettings(text);
    settingsText_ = std::string(text);
}

void MSComm::setPortOpen(bool open)
{
    if (open == PortOpen())
        return;
    if (!open) {
        // Everything written leaves the host before the port is let go.
        port_->writeAll(pending_);
        pending_.clear();
        DeviceFile port = std::move(*port_);
        port_.reset();
        port.close();
        return;
    }
    const HostDevice device = folder_.locate("com" + std::to_string(commPort_));
    DeviceFile port = DeviceFile::open(device, DeviceFile::Access::ReadWrite, stallLimit_);
    if (!port.isTerminal())
        port.fail(DeviceStep::Configure, ENOTTY);
    configure(port);
    port_.emplace(std::move(port));
}

// Raw mode: every termios flag that could change, add or hold back a byte is
// cleared explicitly, then the chosen framing and handshake are set.
void MSComm::configure(DeviceFile& port) const
{
    termios wanted {};
    if (::tcgetattr(port.descriptor(), &wanted) != 0)
        port.fail(DeviceStep::Configure, errno);
    wanted.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY
                                | INPCK | IUCLC | IMAXBEL);
    wanted.c_oflag &= ~tcflag_t(OPOST);
    wanted.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    wanted.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CMSPAR);
    wanted.c_cflag |= dataBitsFlag(settings_.dataBits) | CREAD | CLOCAL;
    if (settings_.parity != 'N')
        wanted.c_cflag |= PARENB | (settings_.parity == 'O' ? PARODD : 0);
    if (settings_.stopBits == 2)
        wanted.c_cflag |= CSTOPB;
    if (usesRtsCts(handshake_))
        wanted.c_cflag |= CRTSCTS;
    if (usesXOnXOff(handshake_))
        wanted.c_iflag |= IXON | IXOFF;
    wanted.c_cc[VMIN] = 0;
    wanted.c_cc[VTIME] = 0;
    if (::cfsetispeed(&wanted, settings_.speedCode) != 0 || ::cfsetospeed(&wanted, settings_.speedCode) != 0)
        port.fail(DeviceStep::Configure, errno);
    if (::tcsetattr(port.descriptor(), TCSANOW, &wanted) != 0)
        port.fail(DeviceStep::Configure, errno);
    checkTaken(port, wanted);
}

// tcsetattr succeeds when any one change is taken, so the port is asked what
// it really runs at.
void MSComm::checkTaken(DeviceFile& port, const termios& wanted) const
{
    termios actual {};
    if (::tcgetattr(port.descriptor(), &actual) != 0)
        port.fail(DeviceStep::Configure, errno);
    std::string differs;
    const auto check = [&](bool same, const std::string& what) {
        if (!same)
            differs += (differs.empty() ? "" : "; ") + what;
    };
    check(::cfgetospeed(&actual) == settings_.speedCode && ::cfgetispeed(&actual) == settings_.speedCode,
          "speed " + std::to_string(settings_.bitsPerSecond) + " bits per second");
    check((actual.c_cflag & CSIZE) == (wanted.c_cflag & CSIZE), std::to_string(settings_.dataBits) + " data bits");
    check((actual.c_cflag & (PARENB | PARODD)) == (wanted.c_cflag & (PARENB | PARODD)),
          std::string("parity ") + settings_.parity);
    check((actual.c_cflag & CSTOPB) == (wanted.c_cflag & CSTOPB), std::to_string(settings_.stopBits) + " stop bits");
    check((actual.c_cflag & CRTSCTS) == (wanted.c_cflag & CRTSCTS),
          usesRtsCts(handshake_) ? "RTS/CTS handshake on" : "RTS/CTS handshake off");
    check((actual.c_iflag & (IXON | IXOFF)) == (wanted.c_iflag & (IXON | IXOFF)),
          usesXOnXOff(handshake_) ? "XON/XOFF on" : "XON/XOFF off");
    check(!(actual.c_oflag & OPOST), "raw output");
    if (!differs.empty())
        throwDeviceProblem(DeviceStep::Configure, port.device(), "the port did not take " + differs,
                           "The serial port or its driver does not support these settings; choose another speed "
                           "or handshake.");
}

void MSComm::setOutBufferCount(std::int16_t count)
{
    if (count != 0 || !port_)
        return;
    pending_.clear();
    // Only output still queued in the driver is discarded. A pseudo-terminal
    // has no such queue, and flushing it would drop bytes that already left.
    int queued = 0;
    if (::ioctl(port_->descriptor(), TIOCOUTQ, &queued) == 0 && queued > 0)
        ::tcflush(port_->descriptor(), TCOFLUSH);
}

void MSComm::setInBufferCount(std::int16_t count)
{
    if (count != 0 || !port_)
        return;
    ::tcflush(port_->descriptor(), TCIFLUSH);
}

// Output is handed to the driver in blocks of OutBufferSize, so that a
// stream of short lines costs few system calls; what is left goes out when
// the port closes.
void MSComm::setOutput(std::string_view utf8)
{
    if (!port_)
        invalidProperty("output was sent to a port that is not open.");
    appendCp936(pending_, utf8);
    sendFullBuffers();
}

void MSComm::sendFullBuffers()
{
    const std::size_t block = std::size_t(outBufferSize_);
    if (pending_.size() < block)
        return;
    const std::size_t whole = pending_.size() - pending_.size() % block;
    port_->writeAll(std::string_view(pending_).substr(0, whole));
    pending_.erase(0, whole);
}

void MSComm::abandon()
{
    pending_.clear();
    port_.reset();
}
