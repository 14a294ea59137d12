// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/serial_port_posix.h"
#include "platform/serial_pty_peer.h"

#include <gtest/gtest.h>

#include <QThread>

using tarvok::platform::PosixSerialPort;
using tarvok::platform::PtyPeer;
using tarvok::platform::isSupportedSpeed;

namespace {

class SerialSpeed : public ::testing::TestWithParam<int> {};

TEST_P(SerialSpeed, SupportedSpeedIsSetAndAnyOtherLeavesTheDriversSpeed)
{
    PtyPeer peer;
    PosixSerialPort port;
    ASSERT_TRUE(port.open(peer.slavePath()));
    ASSERT_TRUE(port.setLine(9600));
    ASSERT_EQ(port.speed(), 9600);

    const int speed = GetParam();
    ASSERT_TRUE(port.setLine(speed)); // an unsupported speed still leaves the port usable
    EXPECT_EQ(port.speed(), isSupportedSpeed(speed) ? speed : 9600);
}

INSTANTIATE_TEST_SUITE_P(PosixSerialPort, SerialSpeed,
                         ::testing::Values(110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000,
                                           57600, 115200, 128000, 256000,
                                           // not on the list
                                           250000, 230400, 0, -1, 1));

TEST(PosixSerialPort, OpensOnlyTerminals)
{
    PosixSerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("/nonexistent/ttyS99")));
    EXPECT_FALSE(port.open(QStringLiteral("/dev/null")));
    EXPECT_FALSE(port.open(QString()));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.write(reinterpret_cast<const std::uint8_t*>("x"), 1), -1);
    EXPECT_EQ(port.bytesWaiting(), 0u);
}

// Every byte value must cross the line unchanged in both directions, without
// echo, and be readable at once: a cooked tty would hold input until a
// newline, turn CR into LF and swallow XON/XOFF.
TEST(PosixSerialPort, RawModePassesEveryByteValue)
{
    PtyPeer peer;
    PosixSerialPort port;
    ASSERT_TRUE(port.open(peer.slavePath()));
    ASSERT_TRUE(port.setLine(115200));

    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));

    ASSERT_TRUE(peer.send(all));
    for (int i = 0; i < 2000 && port.bytesWaiting() < 256; ++i)
        QThread::usleep(1000);
    ASSERT_EQ(port.bytesWaiting(), 256u);
    std::uint8_t in[300];
    ASSERT_EQ(port.read(in, sizeof in), 256u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(in), 256), all);
    EXPECT_EQ(peer.waiting(), 0); // nothing echoed back

    ASSERT_EQ(port.write(reinterpret_cast<const std::uint8_t*>(all.constData()), 256), 256);
    ASSERT_EQ(peer.waitFor(256), 256);
    EXPECT_EQ(peer.takeAll(), all);
    EXPECT_EQ(port.read(in, sizeof in), 0u); // non-blocking when nothing waits
}

TEST(PosixSerialPort, VanishedDeviceFailsWritesAndHasNothingWaiting)
{
    PtyPeer peer;
    PosixSerialPort port;
    ASSERT_TRUE(port.open(peer.slavePath()));
    peer.closeMaster();
    const std::uint8_t frame[12] = {0x10, 0x02};
    EXPECT_LT(port.write(frame, sizeof frame), 12);
    EXPECT_EQ(port.bytesWaiting(), 0u);
    std::uint8_t buf[16];
    EXPECT_EQ(port.read(buf, sizeof buf), 0u);
    port.close();
    EXPECT_FALSE(port.isOpen());
}

} // namespace
