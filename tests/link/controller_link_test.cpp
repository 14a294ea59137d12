// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "link/controller_link.h"
#include "platform/serial_port_posix.h"
#include "platform/serial_pty_peer.h"
#include "sim/sim_frame.h"
#include "tests/link/scripted_port.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QThread>

#include <optional>
#include <random>

using namespace tarvok::link;
using tarvok::testing::Bytes;
using tarvok::testing::ScriptedPort;

namespace {

const Bytes kReadRequest{0x10, 0x02, 0x01, 0x00, 0x01, 0x00, 0x00, 0x96, 0x10, 0x03, 0x80, 0x58};

Bytes readReply(const std::array<std::uint8_t, 150>& data)
{
    Bytes body(3 + data.size());
    body[0] = 0x00;
    body[1] = 0x01;
    body[2] = 0x81;
    std::copy(data.begin(), data.end(), body.begin() + 3);
    return tarvok::sim::encodeFrame(body);
}

std::array<std::uint8_t, 150> patternData(std::uint8_t salt = 0)
{
    std::array<std::uint8_t, 150> d{};
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = static_cast<std::uint8_t>(i * 3 + salt);
    return d;
}

// A link on a scripted port whose clock moves with the link's sleeps.
class ScriptedLink : public ::testing::Test {
protected:
    ScriptedLink()
    {
        auto p = std::make_unique<ScriptedPort>();
        port = p.get();
        link.emplace(image, std::move(p));
        link->setSleeper([this](int ms) {
            ++looks;
            port->advance(ms);
        });
        qputenv("TARVOK_COM7", "/scripted");
        EXPECT_EQ(link->Initial(7, 115200, QStringLiteral("open"), QStringLiteral("error")), QStringLiteral("open"));
    }

    // Each read request gets this reply after delayMs (none when negative).
    void replyToReads(int delayMs, std::array<std::uint8_t, 150> data)
    {
        port->onWrite = [=](ScriptedPort& p, const Bytes& req) {
            if (req == kReadRequest && delayMs >= 0)
                p.arriveIn(delayMs, readReply(data));
        };
    }

    void poll()
    {
        looks = 0;
        link->Trans(1, 0, 1, 0, 0, 150);
    }

    ControllerImage image;
    ScriptedPort* port = nullptr;
    std::optional<ControllerLink> link;
    int looks = 0;
};

struct TimingCase {
    const char* name;
    int replyAfterMs; // < 0: never
    int looks;
    int exchangeError;
};

class ReplyTiming : public ScriptedLink, public ::testing::WithParamInterface<TimingCase> {};

TEST_P(ReplyTiming, IsLookedForThreeTimesAHundredMillisecondsApart)
{
    replyToReads(GetParam().replyAfterMs, patternData());
    poll();
    EXPECT_EQ(looks, GetParam().looks);
    EXPECT_EQ(link->ExchangeError(), GetParam().exchangeError);
    EXPECT_EQ(image.snapshotTaken, GetParam().exchangeError == 0);
}

INSTANTIATE_TEST_SUITE_P(ControllerLink, ReplyTiming,
                         ::testing::Values(TimingCase{"at_once", 0, 1, 0}, TimingCase{"at_150ms", 150, 2, 0},
                                           TimingCase{"at_250ms", 250, 3, 0}, TimingCase{"at_350ms", 350, 3, 5},
                                           TimingCase{"never", -1, 3, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScriptedLink, CutReplyFailsAndItsRestFailsTheNextExchange)
{
    const Bytes whole = readReply(patternData());
    const Bytes head(whole.begin(), whole.begin() + 60);
    const Bytes tail(whole.begin() + 60, whole.end());
    int request = 0;
    port->onWrite = [&](ScriptedPort& p, const Bytes&) {
        ++request;
        if (request == 1) {
            p.arriveIn(50, head);
            p.arriveIn(350, tail); // after the last look
        } else {
            p.arriveIn(0, whole);
        }
    };
    poll();
    EXPECT_EQ(link->ExchangeError(), 6);
    poll(); // the tail sits in front of this reply
    EXPECT_EQ(link->ExchangeError(), 6);
    EXPECT_EQ(port->unread(), 0u);
    poll();
    EXPECT_EQ(link->ExchangeError(), 0);
    EXPECT_FALSE(image.main == ControllerImage{}.main);
}

TEST_F(ScriptedLink, MoreWaitingThanAnyLegalFrameIsDroppedWhole)
{
    int request = 0;
    port->onWrite = [&](ScriptedPort& p, const Bytes&) {
        if (++request == 1)
            p.arriveIn(0, Bytes(5000, 0x10));
        else
            p.arriveIn(0, readReply(patternData()));
    };
    poll();
    EXPECT_EQ(link->ExchangeError(), 6);
    EXPECT_EQ(port->unread(), 0u);
    EXPECT_FALSE(image.snapshotTaken);
    poll();
    EXPECT_EQ(link->ExchangeError(), 0);
}

TEST_F(ScriptedLink, FrameNotWrittenWholeIsNoReplyAndTheReplyIsDiscarded)
{
    replyToReads(0, patternData());
    port->writeLimit = 5;
    poll();
    EXPECT_EQ(link->ExchangeError(), 5);
    EXPECT_EQ(looks, 1);
    EXPECT_EQ(port->unread(), 0u);
    EXPECT_FALSE(image.snapshotTaken);
}

TEST_F(ScriptedLink, WriteSendsTheTaskBlockAndGivesTheResultCode)
{
    for (std::size_t i = 0; i < 30; ++i)
        link->taskBlock()[i] = static_cast<std::uint8_t>(i);
    link->taskBlock()[0] = 16;
    std::uint8_t code = 3;
    port->onWrite = [&](ScriptedPort& p, const Bytes&) {
        p.arriveIn(0, tarvok::sim::encodeFrame({0x00, 0x01, 0x82, code}));
    };
    link->Trans(1, 0, 2, 150, 0, 30);
    EXPECT_EQ(link->ExchangeError(), 3);

    // The controller's side must read back the payload and a good CRC.
    tarvok::sim::FrameReader reader;
    std::optional<tarvok::sim::ReceivedFrame> got;
    for (std::uint8_t b : port->written.at(0))
        if (auto f = reader.feed(b))
            got = f;
    ASSERT_TRUE(got);
    EXPECT_TRUE(got->crcOk);
    Bytes expected{1, 0, 2, 150, 0, 30};
    expected.insert(expected.end(), link->taskBlock().begin(), link->taskBlock().end());
    EXPECT_EQ(got->body, expected);

    code = 0;
    link->Trans(1, 0, 2, 150, 0, 30);
    EXPECT_EQ(link->ExchangeError(), 0);
    EXPECT_FALSE(image.snapshotTaken); // a write reply never fills the image
}

TEST_F(ScriptedLink, WriteBeyondTheTaskBlockIsNotSent)
{
    link->Trans(1, 0, 2, 150, 0, 31);
    EXPECT_EQ(link->ExchangeError(), 5);
    EXPECT_TRUE(port->written.empty());
}

TEST_F(ScriptedLink, WriteReplyToAReadIsJudgedByItsOwnKind)
{
    port->onWrite = [](ScriptedPort& p, const Bytes&) {
        p.arriveIn(0, tarvok::sim::encodeFrame({0x00, 0x01, 0x82, 0x07}));
    };
    poll();
    EXPECT_EQ(link->ExchangeError(), 7);
    EXPECT_FALSE(image.snapshotTaken);
}

TEST_F(ScriptedLink, LineNoiseNeverFillsTheImageNorOverrunsABuffer)
{
    std::mt19937 rng(20240611);
    Bytes noise;
    port->onWrite = [&](ScriptedPort& p, const Bytes&) { p.arriveIn(0, noise); };
    for (int i = 0; i < 3000; ++i) {
        const std::size_t n = std::uniform_int_distribution<std::size_t>(1, 700)(rng);
        noise.assign(n, 0);
        for (auto& b : noise) // mostly DLEs, so undoubling is exercised hard
            b = static_cast<std::uint8_t>(rng() % 3 == 0 ? 0x10 : rng());
        // Framed like a reply often enough to get past the first checks.
        if (n >= 6 && rng() % 2) {
            noise[0] = 0x10;
            noise[1] = 0x02;
            noise[n - 4] = 0x10;
            noise[n - 3] = 0x03;
        }
        poll();
        ASSERT_NE(link->ExchangeError(), 0) << i;
        ASSERT_EQ(port->unread(), 0u);
    }
    EXPECT_FALSE(image.snapshotTaken);
}

TEST(ControllerLinkOpen, FailedOpenGivesTheErrorTextAndMinusOne)
{
    ControllerImage image;
    auto p = std::make_unique<ScriptedPort>();
    ScriptedPort* port = p.get();
    ControllerLink link(image, std::move(p));
    port->openResult = false;
    EXPECT_EQ(link.Initial(3, 9600, QStringLiteral("Порт открыт"), QStringLiteral("Ошибка порта")),
              QStringLiteral("Ошибка порта -1"));
    EXPECT_FALSE(link.PortOpen());
    port->openResult = true;
    EXPECT_EQ(link.Initial(3, 9600, QStringLiteral("Порт открыт"), QStringLiteral("Ошибка порта")),
              QStringLiteral("Порт открыт"));
    EXPECT_TRUE(link.PortOpen());
    EXPECT_EQ(port->lastSpeed, 9600);
    link.closePort();
    EXPECT_FALSE(link.PortOpen());
}

// Image contents, filled through a real exchange.
class ImageFill : public ScriptedLink {
protected:
    void pollWith(const std::array<std::uint8_t, 150>& data)
    {
        replyToReads(0, data);
        poll();
        ASSERT_EQ(link->ExchangeError(), 0);
    }
};

TEST_F(ImageFill, AlarmBytesAreCopiedWithTheMainBlock)
{
    auto d = patternData();
    const std::uint8_t alarms[6] = {0x80, 0, 0, 0, 0, 0};
    std::copy(std::begin(alarms), std::end(alarms), d.begin() + 83);
    pollWith(d);
    EXPECT_EQ(image.main[83], 0x80);
    EXPECT_EQ(image.alarmBytes, (std::array<std::uint8_t, 6>{0x80, 0, 0, 0, 0, 0}));
    EXPECT_EQ(image.previousAlarmBytes, (std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(image.mode, d[148]);
}

TEST_F(ImageFill, DoserRecordAndSignedWeight)
{
    auto d = patternData();
    const std::uint8_t doser1[8] = {0x05, 0xE8, 0x03, 0xF4, 0x01, 0x07, 0xD0, 0x07};
    std::copy(std::begin(doser1), std::end(doser1), d.begin() + 100);
    d[36] = 0xFF;
    d[37] = 0xFF;
    pollWith(d);
    const DoserRecord& r = image.dosers[0];
    EXPECT_EQ(r.marker(), 5);
    EXPECT_EQ(r.setpoint(), 1000);
    EXPECT_EQ(r.task(), 500);
    EXPECT_EQ(r.material(), 7);
    EXPECT_EQ(r.weight(), 2000);
    EXPECT_EQ(image.s16(36), -1);
    EXPECT_EQ(image.u16(36), 0xFFFF);
    // Doser 6 ends at data byte 147; byte 149 is not kept anywhere.
    EXPECT_EQ(image.dosers[5].bytes[7], d[147]);
}

TEST_F(ImageFill, TaskSnapshotIsTakenFromTheFirstReadOnly)
{
    const auto first = patternData(1);
    pollWith(first);
    pollWith(patternData(2));
    EXPECT_EQ(image.taskSnapshot[0], first[33]);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(image.taskSnapshot[1 + i], first[2 + i]) << i;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(image.taskSnapshot[19 + i], first[90 + i]) << i;
    EXPECT_EQ(image.taskSnapshot[29], 0);
    EXPECT_EQ(image.main[33], patternData(2)[33]);
}

TEST_F(ImageFill, MalformedReplyAfterAGoodOneChangesNothing)
{
    pollWith(patternData(1));
    const ControllerImage good = image;
    Bytes bad = readReply(patternData(9));
    bad[bad.size() - 1] ^= 0xFF;
    port->onWrite = [&](ScriptedPort& p, const Bytes&) { p.arriveIn(0, bad); };
    poll();
    EXPECT_EQ(link->ExchangeError(), 6);
    EXPECT_EQ(image.main, good.main);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(image.dosers[k].bytes, good.dosers[k].bytes);
    EXPECT_EQ(image.mode, good.mode);
    EXPECT_EQ(image.alarmBytes, good.alarmBytes);
    EXPECT_EQ(image.taskSnapshot, good.taskSnapshot);
}

// The same exchange over a real pseudo-terminal, with the peer scripted at
// each of the link's looks.
class PtyLink : public ::testing::Test {
protected:
    PtyLink()
    {
        auto p = std::make_unique<tarvok::platform::PosixSerialPort>();
        port = p.get();
        link.emplace(image, std::move(p));
        link->setSleeper([this](int) { onLook(++looks); });
        qputenv("TARVOK_COM8", peer.slavePath().toLocal8Bit());
    }

    void open()
    {
        ASSERT_TRUE(peer.isOpen());
        ASSERT_EQ(link->Initial(8, 115200, QStringLiteral("open"), QStringLiteral("error")), QStringLiteral("open"));
    }

    // Sends bytes to the link and waits until its side has them queued.
    void deliver(const Bytes& bytes, std::size_t expectWaiting)
    {
        peer.send(QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
        for (int i = 0; i < 2000 && port->bytesWaiting() < expectWaiting; ++i)
            QThread::usleep(1000);
        ASSERT_EQ(port->bytesWaiting(), expectWaiting);
    }

    QByteArray request()
    {
        peer.waitFor(12);
        return peer.takeAll();
    }

    void exchange()
    {
        looks = 0;
        link->Trans(1, 0, 1, 0, 0, 150);
    }

    std::function<void(int look)> onLook = [](int) {};
    tarvok::platform::PtyPeer peer;
    ControllerImage image;
    tarvok::platform::PosixSerialPort* port = nullptr;
    std::optional<ControllerLink> link;
    int looks = 0;
};

TEST_F(PtyLink, ReplyAtOnceAndAtTheSecondLook)
{
    open();
    const Bytes reply = readReply(patternData());
    for (int replyLook : {1, 2}) {
        SCOPED_TRACE(replyLook);
        onLook = [&](int look) {
            if (look == 1) {
                EXPECT_EQ(request(), QByteArray(reinterpret_cast<const char*>(kReadRequest.data()), 12));
            }
            if (look == replyLook)
                deliver(reply, reply.size());
        };
        exchange();
        EXPECT_EQ(looks, replyLook);
        EXPECT_EQ(link->ExchangeError(), 0);
        EXPECT_EQ(image.main[10], patternData()[10]);
    }
}

TEST_F(PtyLink, NoReplyAndCutReply)
{
    open();
    exchange();
    EXPECT_EQ(looks, 3);
    EXPECT_EQ(link->ExchangeError(), 5);

    const Bytes whole = readReply(patternData());
    const Bytes head(whole.begin(), whole.begin() + 100);
    const Bytes tail(whole.begin() + 100, whole.end());
    onLook = [&](int look) {
        if (look == 1)
            deliver(head, head.size());
    };
    exchange();
    EXPECT_EQ(link->ExchangeError(), 6);

    onLook = [&](int look) {
        if (look == 1) {
            deliver(tail, tail.size());
            deliver(whole, tail.size() + whole.size());
        }
    };
    exchange();
    EXPECT_EQ(link->ExchangeError(), 6);
    EXPECT_EQ(port->bytesWaiting(), 0u);
    EXPECT_FALSE(image.snapshotTaken);
}

TEST_F(PtyLink, VanishedDeviceIsNoReplyWithoutSpinning)
{
    open();
    peer.closeMaster();
    for (int i = 0; i < 2; ++i) {
        exchange();
        EXPECT_EQ(link->ExchangeError(), 5);
        EXPECT_EQ(looks, 3);
    }
    EXPECT_TRUE(link->PortOpen()); // only closing the port clears it
}

} // namespace
