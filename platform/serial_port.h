// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tarvok::platform {

// What the frame protocol needs of a serial line, and no more: the protocol
// writes a whole frame, sleeps, asks how much has arrived and takes exactly
// that. Kept abstract so that tests can put a scripted peer behind it.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the device for reading and writing, not shared with other
    // processes. False when the device cannot be opened.
    virtual bool open(const QString& devicePath) = 0;
    virtual bool isOpen() const = 0;

    // 8 data bits, no parity, 1 stop bit; the speed only when it is one of
    // the supported line speeds (isSupportedSpeed), otherwise the driver's
    // speed stays. False when the line settings could not be read, in which
    // case nothing was changed.
    virtual bool setLine(int speed) = 0;

    // Returns the number of bytes written, or -1 when the device refused.
    virtual long write(const std::uint8_t* data, std::size_t count) = 0;

    // Received bytes waiting to be read; 0 when none or when the device has
    // failed.
    virtual std::size_t bytesWaiting() = 0;

    // Reads at most count bytes without blocking; returns the number read
    // (0 when none or on failure).
    virtual std::size_t read(std::uint8_t* buffer, std::size_t count) = 0;

    virtual void close() = 0;
};

// 110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600,
// 115200, 128000, 256000 bit/s.
bool isSupportedSpeed(int speed);

// The serial port of this platform.
std::unique_ptr<SerialPort> makeSerialPort();

} // namespace tarvok::platform
