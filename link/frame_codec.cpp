// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "link/frame_codec.h"

#include <algorithm>

namespace tarvok::link {
namespace {

struct CrcTables {
    std::array<std::uint8_t, 256> low{};
    std::array<std::uint8_t, 256> high{};
};

constexpr CrcTables makeTables()
{
    CrcTables t;
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xA001u : crc >> 1;
        t.low[i] = static_cast<std::uint8_t>(crc & 0xFFu);
        t.high[i] = static_cast<std::uint8_t>(crc >> 8);
    }
    return t;
}

constexpr CrcTables kCrc = makeTables();

} // namespace

void Sum_CRC(const std::uint8_t* bytes, std::size_t count, std::uint8_t& low, std::uint8_t& high)
{
    std::uint8_t lo = 0xFF;
    std::uint8_t hi = 0xFF;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t index = lo ^ bytes[i];
        lo = hi ^ kCrc.low[index];
        hi = kCrc.high[index];
    }
    low = lo;
    high = hi;
}

std::uint16_t crc16(std::span<const std::uint8_t> bytes)
{
    std::uint8_t lo, hi;
    Sum_CRC(bytes.data(), bytes.size(), lo, hi);
    return static_cast<std::uint16_t>(lo | (hi << 8));
}

std::vector<std::uint8_t> buildPayload(std::uint8_t dest, std::uint8_t src, std::uint8_t func,
                                       std::uint8_t startLo, std::uint8_t startHi, std::uint16_t count,
                                       std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> p;
    p.reserve(6 + data.size());
    for (std::uint8_t b : {dest, src, func, startLo, startHi, static_cast<std::uint8_t>(count & 0xFFu)})
        p.push_back(b);
    for (std::uint8_t b : data)
        p.push_back(b);
    return p;
}

std::vector<std::uint8_t> buildFrame(std::span<const std::uint8_t> payload)
{
    std::vector<std::uint8_t> f;
    f.reserve(2 * payload.size() + 6);
    f.push_back(DLE);
    f.push_back(STX);
    for (std::uint8_t b : payload) {
        f.push_back(b);
        if (b == DLE)
            f.push_back(DLE);
    }
    f.push_back(DLE);
    f.push_back(ETX);
    std::uint8_t lo, hi;
    Sum_CRC(payload.data(), payload.size(), lo, hi);
    f.push_back(lo);
    f.push_back(hi);
    return f;
}

std::size_t undouble(std::span<const std::uint8_t> in, std::span<std::uint8_t> out)
{
    std::size_t m = 0;
    bool paired = false;
    for (std::uint8_t b : in) {
        if (b == DLE && paired) {
            paired = false;
            continue;
        }
        if (m == out.size())
            break;
        out[m++] = b;
        if (b == DLE)
            paired = true;
    }
    return m;
}

Reply parseReply(std::span<const std::uint8_t> raw, std::uint8_t requestDest, std::uint8_t requestSrc)
{
    Reply r;
    const std::size_t n = raw.size();
    if (n < 6 || n > MaxFrameSize)
        return r;
    if (raw[0] != DLE || raw[1] != STX || raw[n - 4] != DLE || raw[n - 3] != ETX)
        return r;

    std::array<std::uint8_t, MaxFrameSize> body{};
    const std::size_t m = undouble(raw.subspan(2, n - 6), body);

    std::uint8_t lo, hi;
    Sum_CRC(body.data(), m, lo, hi);
    if (lo != raw[n - 2] || hi != raw[n - 1])
        return r;
    if (m < 3 || body[0] != requestSrc || body[1] != requestDest)
        return r;

    if (body[2] == ReplyRead && m == ReadReplyBodySize) {
        std::copy(body.begin() + 3, body.begin() + 3 + ReadDataSize, r.data.begin());
        r.isReadData = true;
        r.exchangeError = 0;
    } else if (body[2] == ReplyWrite && m == WriteReplyBodySize) {
        r.exchangeError = body[3];
    }
    return r;
}

} // namespace tarvok::link
