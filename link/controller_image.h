// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <array>
#include <cstdint>

namespace tarvok::link {

// The 30 bytes a task transfer sends with one write request.
using TaskBlock = std::array<std::uint8_t, 30>;

// Per doser: bytes 0-7 as the controller sent them at the last good read,
// bytes 8-15 the workstation's copy of 0-7 taken by the dose completion check.
struct DoserRecord {
    std::array<std::uint8_t, 16> bytes{};

    std::uint8_t marker() const { return bytes[0]; }
    std::uint16_t setpoint() const { return u16(1); }
    std::uint16_t task() const { return u16(3); }
    std::uint8_t material() const { return bytes[5]; }
    std::uint16_t weight() const { return u16(6); }

    std::uint16_t u16(int at) const
    {
        return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
};

// The workstation's copy of the controller data at the last good poll, with
// the blocks kept beside it. All zero at program start.
//
// Written by the exchange on the poll thread (fill()) and read by the poll
// step's follow-up and the windows; the poll cycle guarantees that the
// follow-up of one poll has finished before the next fill().
struct ControllerImage {
    static constexpr int MainSize = 100;
    static constexpr int ReadDataSize = 150;

    std::array<std::uint8_t, MainSize> main{};
    std::array<DoserRecord, 6> dosers{};  // doser k at index k-1
    std::uint8_t mode = 0;                // bit 0: 1 automatic, 0 manual
    std::array<std::uint8_t, 6> alarmBytes{};
    std::array<std::uint8_t, 6> previousAlarmBytes{};
    std::uint8_t attentionByte = 0;       // no controller address feeds it
    std::array<std::uint8_t, 30> taskSnapshot{};
    bool snapshotTaken = false;

    std::uint16_t u16(int offset) const
    {
        return static_cast<std::uint16_t>(main[offset] | (main[offset + 1] << 8));
    }
    std::int16_t s16(int offset) const { return static_cast<std::int16_t>(u16(offset)); }

    // Copies the 150 data bytes of a read reply that passed every check, in
    // the order the consumers rely on: main block, doser halves, mode byte,
    // alarm bytes, then the task snapshot at the first good read only.
    // data must hold ReadDataSize bytes.
    void fill(const std::uint8_t* data)
    {
        for (int i = 0; i < MainSize; ++i)
            main[i] = data[i];
        for (int k = 0; k < 6; ++k)
            for (int i = 0; i < 8; ++i)
                dosers[k].bytes[i] = data[100 + 8 * k + i];
        mode = data[148];
        for (int i = 0; i < 6; ++i)
            alarmBytes[i] = main[83 + i];
        if (!snapshotTaken) {
            taskSnapshot[0] = main[33];
            for (int i = 0; i < 18; ++i)
                taskSnapshot[1 + i] = main[2 + i];
            for (int i = 0; i < 10; ++i)
                taskSnapshot[19 + i] = main[90 + i];
        }
        snapshotTaken = true;
    }
};

} // namespace tarvok::link
