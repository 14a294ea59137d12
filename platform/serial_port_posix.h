// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "platform/serial_port.h"

namespace tarvok::platform {

// A tty (real port, USB adapter or pseudo-terminal) in raw mode. Reads never
// block; a device that has gone away makes write() return -1 and
// bytesWaiting() 0, so the caller sees an exchange without reply.
class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool open(const QString& devicePath) override;
    bool isOpen() const override { return fd_ >= 0; }
    bool setLine(int speed) override;
    long write(const std::uint8_t* data, std::size_t count) override;
    std::size_t bytesWaiting() override;
    std::size_t read(std::uint8_t* buffer, std::size_t count) override;
    void close() override;

    // The output speed the driver reports now, in bit/s; -1 when closed or
    // unknown.
    int speed() const;

private:
    int fd_ = -1;
};

} // namespace tarvok::platform
