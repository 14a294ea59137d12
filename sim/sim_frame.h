// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

// The simulator's own framing, written apart from the workstation's codec
// (bitwise CRC, a byte-at-a-time reader) so that a mistake in one of them
// shows up as a failed exchange instead of being shared by both ends.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvok::sim {

// CRC-16/MODBUS, bit by bit.
std::uint16_t crcModbus(const std::uint8_t* bytes, std::size_t count);

// DLE STX, body with 0x10 doubled, DLE ETX, CRC low, CRC high.
std::vector<std::uint8_t> encodeFrame(const std::vector<std::uint8_t>& body);

struct ReceivedFrame {
    std::vector<std::uint8_t> body;
    bool crcOk = false;
};

// Picks frames out of a byte stream; bytes outside a frame are skipped, a
// broken frame is dropped and the reader looks for the next DLE STX.
class FrameReader {
public:
    std::optional<ReceivedFrame> feed(std::uint8_t byte);
    std::size_t skipped() const { return skipped_; }

private:
    enum class State { Idle, IdleDle, Body, BodyDle, Crc1, Crc2 };
    State state_ = State::Idle;
    std::vector<std::uint8_t> body_;
    std::uint8_t crcLow_ = 0;
    std::size_t skipped_ = 0;
};

} // namespace tarvok::sim
