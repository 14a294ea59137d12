// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "platform/serial_port.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace tarvok::testing {

using Bytes = std::vector<std::uint8_t>;

// A serial port whose peer is a script on a clock that moves only when the
// link sleeps, so an exchange's timing is exact and nothing waits for real.
class ScriptedPort final : public platform::SerialPort {
public:
    // Called with every frame written; usually schedules a reply.
    std::function<void(ScriptedPort&, const Bytes&)> onWrite;

    bool openResult = true;
    long writeLimit = -1; // when >= 0, write() reports at most this many bytes
    int lastSpeed = -1;
    std::vector<Bytes> written;
    int nowMs = 0;

    void arriveAt(int atMs, Bytes bytes) { pending_.push_back({atMs, std::move(bytes)}); }
    void arriveIn(int afterMs, Bytes bytes) { arriveAt(nowMs + afterMs, std::move(bytes)); }
    void advance(int ms) { nowMs += ms; }
    std::size_t unread()
    {
        collect();
        return arrived_.size();
    }

    bool open(const QString&) override
    {
        open_ = openResult;
        return open_;
    }
    bool isOpen() const override { return open_; }
    bool setLine(int speed) override
    {
        lastSpeed = speed;
        return true;
    }
    long write(const std::uint8_t* data, std::size_t count) override
    {
        if (!open_)
            return -1;
        written.emplace_back(data, data + count);
        if (onWrite)
            onWrite(*this, written.back());
        const long n = static_cast<long>(count);
        return writeLimit >= 0 ? std::min(writeLimit, n) : n;
    }
    std::size_t bytesWaiting() override { return unread(); }
    std::size_t read(std::uint8_t* buffer, std::size_t count) override
    {
        collect();
        const std::size_t n = std::min(count, arrived_.size());
        std::copy_n(arrived_.begin(), n, buffer);
        arrived_.erase(arrived_.begin(), arrived_.begin() + static_cast<long>(n));
        return n;
    }
    void close() override { open_ = false; }

private:
    struct Arrival {
        int atMs;
        Bytes bytes;
    };
    void collect()
    {
        while (!pending_.empty() && pending_.front().atMs <= nowMs) {
            arrived_.insert(arrived_.end(), pending_.front().bytes.begin(), pending_.front().bytes.end());
            pending_.pop_front();
        }
    }

    bool open_ = false;
    std::deque<Arrival> pending_;
    Bytes arrived_;
};

} // namespace tarvok::testing
