// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/serial_port_posix.h"

#include "platform/serial_speed_linux.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tarvok::platform {
namespace {

struct SpeedCode {
    int speed;
    speed_t code; // 0: no Bxxx constant, set through termios2
};

constexpr SpeedCode kSpeeds[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {14400, 0},
    {19200, B19200},   {38400, B38400},   {56000, 0},        {57600, B57600},
    {115200, B115200}, {128000, 0},       {256000, 0},
};

const SpeedCode* findSpeed(int speed)
{
    for (const SpeedCode& s : kSpeeds)
        if (s.speed == speed)
            return &s;
    return nullptr;
}

} // namespace

bool isSupportedSpeed(int speed)
{
    return findSpeed(speed) != nullptr;
}

std::unique_ptr<SerialPort> makeSerialPort()
{
    return std::make_unique<PosixSerialPort>();
}

PosixSerialPort::~PosixSerialPort()
{
    close();
}

bool PosixSerialPort::open(const QString& devicePath)
{
    close();
    const QByteArray path = devicePath.toLocal8Bit();
    if (path.isEmpty())
        return false;
    int fd;
    do {
        fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    if (::ioctl(fd, TIOCEXCL) != 0 && errno == ENOTTY) {
        // Not a terminal at all: there is no line to talk over.
        ::close(fd);
        return false;
    }

    // Raw mode is not optional on this platform: a tty in its default cooked
    // mode holds input back until a newline, echoes it to the peer and
    // rewrites CR/LF bytes, all of which break a binary frame. Software flow
    // control would swallow 0x11/0x13 data bytes, so it goes too; hardware
    // flow control is the driver's business and is kept as found.
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        const tcflag_t keptHardwareFlow = tio.c_cflag & CRTSCTS;
        ::cfmakeraw(&tio);
        tio.c_cflag &= ~CRTSCTS;
        tio.c_cflag |= CLOCAL | CREAD | keptHardwareFlow;
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    fd_ = fd;
    return true;
}

bool PosixSerialPort::setLine(int speed)
{
    if (fd_ < 0)
        return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return false;
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
    tio.c_cflag |= CS8;
    const SpeedCode* s = findSpeed(speed);
    if (s && s->code != 0) {
        ::cfsetispeed(&tio, s->code);
        ::cfsetospeed(&tio, s->code);
    }
    ::tcsetattr(fd_, TCSANOW, &tio);
    // After the framing: tcsetattr would not carry a speed outside Bxxx.
    if (s && s->code == 0)
        tarvok_serial_set_any_speed(fd_, s->speed);
    return true;
}

long PosixSerialPort::write(const std::uint8_t* data, std::size_t count)
{
    if (fd_ < 0)
        return -1;
    ssize_t n;
    do {
        n = ::write(fd_, data, count);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return errno == EAGAIN ? 0 : -1;
    return static_cast<long>(n);
}

std::size_t PosixSerialPort::bytesWaiting()
{
    if (fd_ < 0)
        return 0;
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0 || waiting < 0)
        return 0;
    return static_cast<std::size_t>(waiting);
}

std::size_t PosixSerialPort::read(std::uint8_t* buffer, std::size_t count)
{
    if (fd_ < 0 || count == 0)
        return 0;
    ssize_t n;
    do {
        n = ::read(fd_, buffer, count);
    } while (n < 0 && errno == EINTR);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void PosixSerialPort::close()
{
    if (fd_ < 0)
        return;
    // Another holder of the same tty (a simulator keeping its slave end
    // open) would otherwise keep it exclusive and block our next open.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

int PosixSerialPort::speed() const
{
    if (fd_ < 0)
        return -1;
    return tarvok_serial_get_speed(fd_);
}

} // namespace tarvok::platform
