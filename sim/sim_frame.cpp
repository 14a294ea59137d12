// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "sim/sim_frame.h"

namespace tarvok::sim {
namespace {
constexpr std::uint8_t kDle = 0x10;
constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kEtx = 0x03;
// A request body is at most 6 + 255 bytes; anything longer is noise.
constexpr std::size_t kMaxBody = 300;
} // namespace

std::uint16_t crcModbus(const std::uint8_t* bytes, std::size_t count)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            if (crc & 1)
                crc = static_cast<std::uint16_t>((crc >> 1) ^ 0xA001);
            else
                crc = static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

std::vector<std::uint8_t> encodeFrame(const std::vector<std::uint8_t>& body)
{
    std::vector<std::uint8_t> out{kDle, kStx};
    for (std::uint8_t b : body) {
        out.push_back(b);
        if (b == kDle)
            out.push_back(kDle);
    }
    out.push_back(kDle);
    out.push_back(kEtx);
    const std::uint16_t crc = crcModbus(body.data(), body.size());
    out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    return out;
}

std::optional<ReceivedFrame> FrameReader::feed(std::uint8_t byte)
{
    switch (state_) {
    case State::Idle:
        if (byte == kDle)
            state_ = State::IdleDle;
        else
            ++skipped_;
        return std::nullopt;
    case State::IdleDle:
        if (byte == kStx) {
            body_.clear();
            state_ = State::Body;
        } else {
            ++skipped_;
            state_ = byte == kDle ? State::IdleDle : State::Idle;
        }
        return std::nullopt;
    case State::Body:
        if (byte == kDle) {
            state_ = State::BodyDle;
        } else if (body_.size() < kMaxBody) {
            body_.push_back(byte);
        } else {
            ++skipped_;
            state_ = State::Idle;
        }
        return std::nullopt;
    case State::BodyDle:
        if (byte == kDle) {
            body_.push_back(kDle);
            state_ = State::Body;
        } else if (byte == kEtx) {
            state_ = State::Crc1;
        } else if (byte == kStx) {
            // A new frame started before the old one ended.
            ++skipped_;
            body_.clear();
            state_ = State::Body;
        } else {
            ++skipped_;
            state_ = State::Idle;
        }
        return std::nullopt;
    case State::Crc1:
        crcLow_ = byte;
        state_ = State::Crc2;
        return std::nullopt;
    case State::Crc2: {
        state_ = State::Idle;
        ReceivedFrame f;
        f.body = std::move(body_);
        body_.clear();
        const std::uint16_t crc = crcModbus(f.body.data(), f.body.size());
        f.crcOk = crcLow_ == (crc & 0xFF) && byte == (crc >> 8);
        return f;
    }
    }
    return std::nullopt;
}

} // namespace tarvok::sim
