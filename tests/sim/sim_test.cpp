// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
//
// The simulator against the workstation's own link, over a real
// pseudo-terminal and at the link's real pace.

#include "link/controller_link.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <optional>

using namespace tarvok::link;

namespace {

QString simPath()
{
    return qEnvironmentVariable("TARVOK_BUILD_DIR") + QStringLiteral("/tarvok-sim");
}

class Simulator : public ::testing::Test {
protected:
    ~Simulator() override
    {
        link.reset();
        if (sim.state() != QProcess::NotRunning) {
            sim.terminate();
            sim.waitForFinished(5000);
        }
    }

    // Starts the simulator with args plus a log, and opens COM5 on it.
    void start(QStringList args)
    {
        ASSERT_TRUE(dir.isValid());
        logPath = dir.filePath(QStringLiteral("sim.log"));
        args << QStringLiteral("--log") << logPath;
        sim.start(simPath(), args);
        ASSERT_TRUE(sim.waitForStarted(5000)) << qPrintable(simPath());
        while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
        }
        ASSERT_TRUE(sim.canReadLine());
        ptyPath = QString::fromLocal8Bit(sim.readLine()).trimmed();
        ASSERT_TRUE(ptyPath.startsWith(QStringLiteral("/dev/pts/"))) << qPrintable(ptyPath);
        qputenv("TARVOK_COM5", ptyPath.toLocal8Bit());
        link.emplace(image);
        ASSERT_EQ(link->Initial(5, 115200, QStringLiteral("open"), QStringLiteral("error")), QStringLiteral("open"));
    }

    int poll()
    {
        link->Trans(1, 0, 1, 0, 0, 150);
        return link->ExchangeError();
    }

    QStringList logLines()
    {
        QFile f(logPath);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    QProcess sim;
    QString logPath;
    QString ptyPath;
    ControllerImage image;
    std::optional<ControllerLink> link;
};

TEST_F(Simulator, AnswersReadsWithAPlantThatFinishesDoses)
{
    start({QStringLiteral("--seed"), QStringLiteral("7"), QStringLiteral("--dose-every"), QStringLiteral("3")});
    static const QRegularExpression doseLine(QStringLiteral(
        "^poll=(\\d+) dose doser=(\\d) marker=(\\d+) setpoint=(\\d+) task=(\\d+) material=(\\d+) weight=(\\d+)$"));
    int dosesChecked = 0;
    std::array<int, 6> lastMarker{};
    for (int i = 1; i <= 15; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(poll(), 0);
        EXPECT_EQ(image.main[88] & 0xE0, 0);
        for (int k = 1; k <= 6; ++k) {
            EXPECT_GE(image.main[3 * k - 1], 1);
            EXPECT_LE(image.main[3 * k - 1], 9);
            EXPECT_GE(image.s16(34 + 2 * k), -3);
            EXPECT_LE(image.s16(34 + 2 * k), image.u16(19 + 2 * k) + 3);
        }
        // Each dose the log reports for this poll is what the image holds.
        for (const QString& line : logLines()) {
            const auto m = doseLine.match(line);
            if (!m.hasMatch() || m.captured(1).toInt() != i)
                continue;
            const DoserRecord& r = image.dosers[m.captured(2).toInt() - 1];
            EXPECT_EQ(r.marker(), m.captured(3).toInt());
            EXPECT_NE(r.marker(), lastMarker[m.captured(2).toInt() - 1]);
            EXPECT_EQ(r.setpoint(), m.captured(4).toInt());
            EXPECT_EQ(r.task(), m.captured(5).toInt());
            EXPECT_EQ(r.material(), m.captured(6).toInt());
            EXPECT_EQ(r.weight(), m.captured(7).toInt());
            lastMarker[m.captured(2).toInt() - 1] = r.marker();
            ++dosesChecked;
        }
    }
    EXPECT_GE(dosesChecked, 20);
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("poll=1 request read start=0 count=150")));
    EXPECT_TRUE(lines.contains(QStringLiteral("poll=1 reply read ok length=153")));
}

TEST_F(Simulator, ScriptedSilenceGivesNoReplyThenAnswersAgain)
{
    start({QStringLiteral("--silent-after"), QStringLiteral("2"), QStringLiteral("--silent-polls"), QStringLiteral("3")});
    std::vector<int> errors;
    for (int i = 0; i < 6; ++i)
        errors.push_back(poll());
    EXPECT_EQ(errors, (std::vector<int>{0, 0, 5, 5, 5, 0}));
    EXPECT_EQ(logLines().filter(QStringLiteral(" silent")).size(), 3);
}

TEST_F(Simulator, WriteIsAnsweredWithTheResultCodeAndLogged)
{
    start({QStringLiteral("--write-result"), QStringLiteral("3")});
    link->taskBlock().fill(0);
    link->taskBlock()[0] = 0x10;
    link->taskBlock()[29] = 0xAB;
    link->Trans(1, 0, 2, 150, 0, 30);
    EXPECT_EQ(link->ExchangeError(), 3);
    QString data = QStringLiteral("10");
    for (int i = 1; i < 29; ++i)
        data += QStringLiteral(" 00");
    data += QStringLiteral(" ab");
    EXPECT_TRUE(logLines().contains(QStringLiteral("poll=1 request write start=150 count=30 data=") + data));
    EXPECT_TRUE(logLines().contains(QStringLiteral("poll=1 reply write code=3")));
    EXPECT_EQ(poll(), 0); // reads go on as before
}

TEST_F(Simulator, BadRepliesAreNeverTakenAsGood)
{
    start({QStringLiteral("--bad-rate"), QStringLiteral("1"), QStringLiteral("--seed"), QStringLiteral("3")});
    std::map<int, int> seen;
    for (int i = 0; i < 12; ++i)
        ++seen[poll()];
    EXPECT_EQ(seen.count(0), 0u);
    EXPECT_GE(seen[6], 6);
    EXPECT_FALSE(image.snapshotTaken);
    for (const char* kind : {"bad-crc", "cut", "swapped-addresses"})
        EXPECT_FALSE(logLines().filter(QString::fromLatin1(kind)).isEmpty()) << kind;
}

TEST_F(Simulator, PortReopensAndSigtermRemovesTheLink)
{
    const QString linkPath = dir.filePath(QStringLiteral("plc"));
    start({QStringLiteral("--link"), linkPath});
    EXPECT_EQ(QFileInfo(linkPath).symLinkTarget(), ptyPath);
    EXPECT_EQ(poll(), 0);
    link->closePort();
    ASSERT_EQ(link->Initial(5, 9600, QStringLiteral("open"), QStringLiteral("error")), QStringLiteral("open"));
    EXPECT_EQ(poll(), 0);

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(linkPath));
    EXPECT_FALSE(QFileInfo(linkPath).isSymLink());
    EXPECT_EQ(poll(), 5); // the device is gone; no crash, no reply
}

TEST(SimulatorOptions, BadOptionsAreRefused)
{
    for (const QStringList& args : {QStringList{QStringLiteral("--bad-rate"), QStringLiteral("2")},
                                    QStringList{QStringLiteral("--silent-after"), QStringLiteral("3")},
                                    QStringList{QStringLiteral("--silent"), QStringLiteral("3-4")},
                                    QStringList{QStringLiteral("--write-result"), QStringLiteral("300")},
                                    QStringList{QStringLiteral("--frobnicate"), QStringLiteral("1")}}) {
        QProcess p;
        p.start(simPath(), args);
        ASSERT_TRUE(p.waitForFinished(5000)) << qPrintable(args.join(u' '));
        EXPECT_EQ(p.exitCode(), 2) << qPrintable(args.join(u' '));
    }
}

} // namespace
