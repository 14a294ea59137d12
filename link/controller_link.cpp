// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "link/controller_link.h"

#include "platform/paths.h"

#include <QThread>

namespace tarvok::link {

ControllerLink::ControllerLink(ControllerImage& image, std::unique_ptr<platform::SerialPort> port)
    : image_(image)
    , port_(std::move(port))
    , sleep_([](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); })
{
}

ControllerLink::~ControllerLink()
{
    closePort();
}

void ControllerLink::setSleeper(Sleeper sleeper)
{
    std::lock_guard lock(exchange_);
    sleep_ = std::move(sleeper);
}

QString ControllerLink::Initial(int port, int speed, const QString& openText, const QString& errorText)
{
    std::lock_guard lock(exchange_);
    portOpen_ = false;
    port_->close();
    if (!port_->open(platform::comDevicePath(port)))
        return errorText + QStringLiteral(" -1");
    portOpen_ = true;
    // Line settings that cannot be read leave the port open as the driver
    // set it up.
    port_->setLine(speed);
    return openText;
}

void ControllerLink::closePort()
{
    std::lock_guard lock(exchange_);
    port_->close();
    portOpen_ = false;
}

void ControllerLink::Trans(std::uint8_t dest, std::uint8_t src, std::uint8_t func, std::uint8_t startLo,
                           std::uint8_t startHi, std::uint16_t count)
{
    std::lock_guard lock(exchange_);
    raw_.fill(0);
    exchangeError_ = 0;

    std::span<const std::uint8_t> data;
    if (func == FuncWrite) {
        if (count > taskBlock_.size()) {
            exchangeError_ = ErrNoReply;
            return;
        }
        data = std::span<const std::uint8_t>(taskBlock_.data(), count);
    }
    const std::vector<std::uint8_t> frame = buildFrame(buildPayload(dest, src, func, startLo, startHi, count, data));

    const long written = port_->write(frame.data(), frame.size());
    if (written < static_cast<long>(frame.size()))
        exchangeError_ = ErrNoReply;

    std::size_t waiting = 0;
    for (int look = 0; look < Looks && waiting == 0; ++look) {
        sleep_(LookIntervalMs);
        waiting = port_->bytesWaiting();
    }
    if (waiting == 0) {
        exchangeError_ = ErrNoReply;
        return;
    }
    if (exchangeError_ == ErrNoReply) {
        drain(waiting);
        return;
    }
    Receive(dest, src, waiting);
}

void ControllerLink::Receive(std::uint8_t dest, std::uint8_t src, std::size_t waiting)
{
    if (waiting > raw_.size()) {
        // No legal reply is this long; whatever it is, it must not stay in
        // front of the next reply.
        drain(waiting);
        exchangeError_ = ErrMalformed;
        return;
    }
    const std::size_t n = port_->read(raw_.data(), waiting);
    const Reply reply = parseReply(std::span<const std::uint8_t>(raw_.data(), n), dest, src);
    exchangeError_ = reply.exchangeError;
    if (reply.isReadData)
        image_.fill(reply.data.data());
}

void ControllerLink::drain(std::size_t waiting)
{
    std::array<std::uint8_t, 256> sink;
    while (waiting > 0) {
        const std::size_t got = port_->read(sink.data(), std::min(waiting, sink.size()));
        if (got == 0)
            break;
        waiting -= got;
    }
}

} // namespace tarvok::link
