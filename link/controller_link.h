// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "link/controller_image.h"
#include "link/frame_codec.h"
#include "platform/serial_port.h"

#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace tarvok::link {

// The serial part of the data module: opens the port, runs one request /
// reply exchange at a time and fills the controller image from good read
// replies.
//
// Exchanges are meant to be kept apart by the callers (the task transfer and
// the settings dialog hold the poll thread first). An internal mutex makes
// Initial, closePort and Trans exclusive as a second guard, so a caller that
// forgets cannot interleave two exchanges on the line; it would only wait.
class ControllerLink {
public:
    // Called for each of the three looks for a reply; the default really
    // sleeps. Tests put a scripted peer behind it.
    using Sleeper = std::function<void(int milliseconds)>;

    static constexpr int LookIntervalMs = 100;
    static constexpr int Looks = 3;

    explicit ControllerLink(ControllerImage& image,
                            std::unique_ptr<platform::SerialPort> port = platform::makeSerialPort());
    ~ControllerLink();
    ControllerLink(const ControllerLink&) = delete;
    ControllerLink& operator=(const ControllerLink&) = delete;

    void setSleeper(Sleeper sleeper);

    // Opens "COM" + port (platform::comDevicePath) after closing any port
    // still open, sets the line, and returns the message for the status
    // panel: openText, or errorText + " -1" when the device did not open.
    QString Initial(int port, int speed, const QString& openText, const QString& errorText);
    void closePort();

    bool PortOpen() const { return portOpen_.load(); }
    int ExchangeError() const { return exchangeError_.load(); }

    // One complete exchange; the outcome is in ExchangeError() afterwards.
    // A good read reply fills the image. For a write (func 2) the count data
    // bytes come from the task block; a count beyond the task block is not
    // sent and gives 5.
    void Trans(std::uint8_t dest, std::uint8_t src, std::uint8_t func, std::uint8_t startLo,
               std::uint8_t startHi, std::uint16_t count);

    // Filled by the task transfer before its write (with the poll thread
    // held).
    TaskBlock& taskBlock() { return taskBlock_; }

    ControllerImage& image() { return image_; }

private:
    void Receive(std::uint8_t dest, std::uint8_t src, std::size_t waiting);
    void drain(std::size_t waiting);

    ControllerImage& image_;
    std::unique_ptr<platform::SerialPort> port_;
    Sleeper sleep_;
    std::mutex exchange_;
    std::atomic<bool> portOpen_{false};
    std::atomic<int> exchangeError_{0};
    TaskBlock taskBlock_{};
    std::array<std::uint8_t, MaxFrameSize> raw_{};
};

} // namespace tarvok::link
