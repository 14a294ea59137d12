// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "link/frame_codec.h"
#include "sim/sim_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tarvok::link;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Replies are framed with the simulator's separately written encoder, so the
// two ends are checked against each other rather than against themselves.
Bytes frameOf(const Bytes& body)
{
    return tarvok::sim::encodeFrame(body);
}

Bytes readBody(std::uint8_t first = 0x00, std::uint8_t second = 0x01, std::size_t dataBytes = 150,
               std::uint8_t fill = 0x00)
{
    Bytes b{first, second, 0x81};
    for (std::size_t i = 0; i < dataBytes; ++i)
        b.push_back(fill == 0x00 ? static_cast<std::uint8_t>(i * 7) : fill);
    return b;
}

} // namespace

TEST(FrameCodec, ReadRequestIsTheFixedTwelveBytes)
{
    const Bytes frame = buildFrame(buildPayload(1, 0, FuncRead, 0, 0, 150));
    EXPECT_EQ(frame, (Bytes{0x10, 0x02, 0x01, 0x00, 0x01, 0x00, 0x00, 0x96, 0x10, 0x03, 0x80, 0x58}));
}

TEST(FrameCodec, CrcCheckValue)
{
    const std::string check = "123456789";
    std::uint8_t lo = 0, hi = 0;
    Sum_CRC(reinterpret_cast<const std::uint8_t*>(check.data()), check.size(), lo, hi);
    EXPECT_EQ(lo, 0x37);
    EXPECT_EQ(hi, 0x4B);
    // Every byte value goes through both tables; the bitwise form must agree.
    Bytes all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<std::uint8_t>(255 - i));
    EXPECT_EQ(crc16(all), tarvok::sim::crcModbus(all.data(), all.size()));
}

TEST(FrameCodec, PayloadDleIsDoubledButCrcTakenOverSingleByte)
{
    Bytes data(30, 0);
    data[0] = 16;
    const Bytes payload = buildPayload(1, 0, FuncWrite, 150, 0, 30, data);
    const Bytes frame = buildFrame(payload);
    ASSERT_EQ(frame.size(), 2 + 36 + 1 + 2 + 2u);
    EXPECT_EQ(frame[8], 0x10);
    EXPECT_EQ(frame[9], 0x10);
    EXPECT_EQ(frame[10], 0x00);
    const std::uint16_t crc = tarvok::sim::crcModbus(payload.data(), payload.size());
    EXPECT_EQ(frame[frame.size() - 2], crc & 0xFF);
    EXPECT_EQ(frame[frame.size() - 1], crc >> 8);

    // And the other end reads back the very payload.
    tarvok::sim::FrameReader reader;
    std::optional<tarvok::sim::ReceivedFrame> got;
    for (std::uint8_t b : frame)
        if (auto f = reader.feed(b))
            got = f;
    ASSERT_TRUE(got);
    EXPECT_TRUE(got->crcOk);
    EXPECT_EQ(got->body, payload);
}

TEST(FrameCodec, CrcByteDleIsSentOnce)
{
    for (int lowOrHigh = 0; lowOrHigh < 2; ++lowOrHigh) {
        SCOPED_TRACE(lowOrHigh ? "high byte" : "low byte");
        bool found = false;
        for (int v = 0; v < 65536 && !found; ++v) {
            Bytes data(30, 0);
            data[0] = static_cast<std::uint8_t>(v & 0xFF);
            data[1] = static_cast<std::uint8_t>(v >> 8);
            if (data[0] == 0x10 || data[1] == 0x10)
                continue;
            const Bytes payload = buildPayload(1, 0, FuncWrite, 150, 0, 30, data);
            const std::uint16_t crc = crc16(payload);
            const std::uint8_t crcByte = lowOrHigh ? crc >> 8 : crc & 0xFF;
            if (crcByte != 0x10)
                continue;
            found = true;
            const Bytes frame = buildFrame(payload);
            ASSERT_EQ(frame.size(), 2 + payload.size() + 2 + 2);
            EXPECT_EQ(frame[frame.size() - 2], crc & 0xFF);
            EXPECT_EQ(frame[frame.size() - 1], crc >> 8);
        }
        EXPECT_TRUE(found);
    }
}

struct UndoubleCase {
    const char* name;
    Bytes in;
    Bytes out;
};

class Undouble : public ::testing::TestWithParam<UndoubleCase> {};

TEST_P(Undouble, FollowsThePairFlag)
{
    Bytes out(8, 0xEE);
    const std::size_t m = undouble(GetParam().in, out);
    out.resize(m);
    EXPECT_EQ(out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    FrameCodec, Undouble,
    ::testing::Values(UndoubleCase{"pair", {0x10, 0x10}, {0x10}},
                      UndoubleCase{"two pairs", {0x10, 0x10, 0x10, 0x10}, {0x10, 0x10}},
                      UndoubleCase{"pair inside", {0x01, 0x10, 0x10, 0x02}, {0x01, 0x10, 0x02}},
                      UndoubleCase{"flag survives other bytes", {0x10, 0x05, 0x10}, {0x10, 0x05}},
                      UndoubleCase{"lone dle kept", {0x07, 0x10}, {0x07, 0x10}},
                      UndoubleCase{"stops at capacity", Bytes(20, 0x01), Bytes(8, 0x01)},
                      UndoubleCase{"empty", {}, {}}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& c : n)
            if (c == ' ')
                c = '_';
        return n;
    });

struct ReplyCase {
    const char* name;
    Bytes raw;
    int exchangeError;
    bool isReadData;
};

class ReplyKinds : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyKinds, AreJudgedByTheirOwnFunctionAndLength)
{
    const Reply r = parseReply(GetParam().raw, 1, 0);
    EXPECT_EQ(r.exchangeError, GetParam().exchangeError);
    EXPECT_EQ(r.isReadData, GetParam().isReadData);
}

namespace {

Bytes withBadCrc(Bytes f)
{
    f.back() ^= 0x01;
    return f;
}

Bytes replaced(Bytes f, std::size_t at, std::uint8_t v)
{
    f[at] = v;
    return f;
}

Bytes longerThanAnyFrame()
{
    Bytes f = frameOf(readBody(0, 1, MaxFrameSize - 9));
    EXPECT_GT(f.size(), MaxFrameSize);
    return f;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    FrameCodec, ReplyKinds,
    ::testing::Values(
        ReplyCase{"good_read", frameOf(readBody()), 0, true},
        ReplyCase{"largest_legal_frame_all_data_doubled", frameOf(readBody(0, 1, 150, 0x10)), 0, true},
        ReplyCase{"addresses_not_swapped", frameOf(readBody(1, 0)), 6, false},
        ReplyCase{"read_152_bytes", frameOf(readBody(0, 1, 149)), 6, false},
        ReplyCase{"read_154_bytes", frameOf(readBody(0, 1, 151)), 6, false},
        ReplyCase{"write_accepted", frameOf({0x00, 0x01, 0x82, 0x00}), 0, false},
        ReplyCase{"write_refused_3", frameOf({0x00, 0x01, 0x82, 0x03}), 3, false},
        ReplyCase{"write_reply_5_bytes", frameOf({0x00, 0x01, 0x82, 0x00, 0x00}), 6, false},
        ReplyCase{"other_function", frameOf({0x00, 0x01, 0x83, 0x00}), 6, false},
        ReplyCase{"bad_crc", withBadCrc(frameOf(readBody())), 6, false},
        ReplyCase{"no_start", replaced(frameOf(readBody()), 1, 0x03), 6, false},
        ReplyCase{"no_end", replaced(frameOf({0x00, 0x01, 0x82, 0x00}), 7, 0x02), 6, false},
        ReplyCase{"bare_frame", Bytes{0x10, 0x02, 0x10, 0x03, 0xFF, 0xFF}, 6, false},
        ReplyCase{"too_short", Bytes{0x10, 0x02, 0x10}, 6, false},
        ReplyCase{"longer_than_any_legal_frame", longerThanAnyFrame(), 6, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameCodec, ReadReplyDataComeThroughUndoubled)
{
    Bytes body = readBody();
    body[3] = 0x10;
    body[152] = 0x10;
    const Reply r = parseReply(frameOf(body), 1, 0);
    ASSERT_TRUE(r.isReadData);
    EXPECT_TRUE(std::equal(r.data.begin(), r.data.end(), body.begin() + 3));
}
