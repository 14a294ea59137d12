// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tarvok::link {

inline constexpr std::uint8_t DLE = 0x10;
inline constexpr std::uint8_t STX = 0x02;
inline constexpr std::uint8_t ETX = 0x03;

inline constexpr std::uint8_t FuncRead = 1;
inline constexpr std::uint8_t FuncWrite = 2;
inline constexpr std::uint8_t ReplyRead = 0x81;
inline constexpr std::uint8_t ReplyWrite = 0x82;

inline constexpr std::size_t ReadDataSize = 150;
inline constexpr std::size_t ReadReplyBodySize = 3 + ReadDataSize;
inline constexpr std::size_t WriteReplyBodySize = 4;

// The longest frame a legal reply can take on the line: DLE STX, a read
// reply body with every byte doubled, DLE ETX, two CRC bytes. A read reply
// whose data are mostly 0x10 takes far more than 256 bytes, so buffers are
// sized by this and not by the data size.
inline constexpr std::size_t MaxFrameSize = 2 + 2 * ReadReplyBodySize + 2 + 2;

// ExchangeError values the workstation itself produces.
inline constexpr int ErrNoReply = 5;
inline constexpr int ErrMalformed = 6;

// CRC-16/MODBUS (reflected 0xA001, start 0xFFFF, no final XOR), computed per
// byte from the low-byte and high-byte halves of the 256-entry table.
void Sum_CRC(const std::uint8_t* bytes, std::size_t count, std::uint8_t& low, std::uint8_t& high);
std::uint16_t crc16(std::span<const std::uint8_t> bytes);

// Payload of a request: destination, source, function, start low, start
// high, the low byte of count, then for a write the data bytes.
std::vector<std::uint8_t> buildPayload(std::uint8_t dest, std::uint8_t src, std::uint8_t func,
                                       std::uint8_t startLo, std::uint8_t startHi, std::uint16_t count,
                                       std::span<const std::uint8_t> data = {});

// DLE STX, payload with every 0x10 sent twice, DLE ETX, CRC low, CRC high
// (the CRC over the undoubled payload and never doubled itself).
std::vector<std::uint8_t> buildFrame(std::span<const std::uint8_t> payload);

// Undoubles a frame body into out (capacity out.size()) and returns the
// number of bytes put there. A 0x10 is kept and arms a pair flag; while the
// flag is armed the next 0x10 is dropped and disarms it; other bytes are kept
// and leave the flag as it is. Stops at the capacity.
std::size_t undouble(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

// What a raw reply turned out to be. The kind comes from the reply's own
// function byte and length, whatever request was sent.
struct Reply {
    // 0 for a good read reply, the result code of a good write reply,
    // ErrMalformed for anything else.
    int exchangeError = ErrMalformed;
    bool isReadData = false;
    std::array<std::uint8_t, ReadDataSize> data{}; // valid when isReadData
};

// Checks the raw reply bytes against the request's addresses: DLE STX at the
// front, DLE ETX before the two CRC bytes, the CRC of the undoubled body,
// source and destination swapped back, then 0x81 with 153 body bytes or 0x82
// with 4. More bytes than any legal frame are malformed without a look.
Reply parseReply(std::span<const std::uint8_t> raw, std::uint8_t requestDest, std::uint8_t requestSrc);

} // namespace tarvok::link
