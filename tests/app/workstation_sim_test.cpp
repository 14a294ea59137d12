// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
//
// The whole workstation against the controller simulator: the journal, the
// dose protocol and the archive it leaves after a run with a silent period.
#include "tables/dbf_table.h"
#include "tests/support/dbfread.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace tarvok;

namespace {

QString buildDir() { return qEnvironmentVariable("TARVOK_BUILD_DIR"); }

struct Entry {
    QString text;
    int code;
};

std::vector<Entry> readJournal(const QString& path)
{
    tables::DbfTable t;
    t.setPath(path);
    EXPECT_FALSE(t.open(tables::OpenMode::Read).has_value());
    std::vector<Entry> out;
    for (bool ok = t.first(); ok; ok = t.next())
        out.push_back({t.text(u"REC_STR"), static_cast<int>(t.integer(u"CODZ").value_or(-1))});
    return out;
}

QString onlyFile(const QString& dir, const QString& pattern)
{
    const QStringList found = QDir(dir).entryList({pattern}, QDir::Files);
    return found.size() == 1 ? QDir(dir).filePath(found.first()) : QString();
}

int countLines(const QString& log, const QString& what)
{
    QFile f(log);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return static_cast<int>(QString::fromUtf8(f.readAll()).count(what));
}

// Every record as the engine reads it equals what dbfread reads.
void expectIndependentReaderAgrees(const QString& path)
{
    QString error;
    const QJsonObject dump = tarvok::testing::dbfreadDump(path, &error);
    if (dump.isEmpty()) {
        ADD_FAILURE() << "dbfread could not read " << path.toStdString() << ": "
                      << error.toStdString();
        return;
    }
    tables::DbfTable t;
    t.setPath(path);
    ASSERT_FALSE(t.open(tables::OpenMode::Read).has_value());
    const QJsonArray records = dump.value(QStringLiteral("records")).toArray();
    ASSERT_EQ(records.size(), t.recordCount());
    int row = 0;
    for (bool ok = t.first(); ok; ok = t.next(), ++row) {
        const QJsonArray values = records[row].toArray();
        ASSERT_EQ(values.size(), t.fieldCount());
        for (int f = 0; f < t.fieldCount(); ++f) {
            QJsonValue mine;
            switch (t.fields()[f].type) {
            case tables::FieldType::Number:
                mine = t.isBlank(f) ? QJsonValue() : QJsonValue(qint64(*t.integer(f)));
                break;
            case tables::FieldType::Date:
                mine = t.isBlank(f) ? QJsonValue() : QJsonValue(t.date(f)->toString(Qt::ISODate));
                break;
            default:
                mine = t.text(f);
            }
            EXPECT_EQ(values[f], mine) << path.toStdString() << " record " << row << " field "
                                       << t.fields()[f].name.toStdString();
        }
    }
}

class WorkstationSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        work = dir.filePath(QStringLiteral("work"));
        ASSERT_TRUE(QDir().mkpath(work));
        QFile ini(dir.filePath(QStringLiteral("tarvok.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Data]\nDelayTime=200\n");
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
        if (sim.state() != QProcess::NotRunning) {
            sim.terminate();
            sim.waitForFinished();
        }
    }

    // Runs the simulator with the given options and the workstation on it
    // until the simulator has answered `polls` requests, then stops the
    // workstation with SIGTERM.
    void run(const QStringList& simOptions, int polls)
    {
        const QString plc = dir.filePath(QStringLiteral("plc"));
        simLog = dir.filePath(QStringLiteral("sim.log"));
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start(buildDir() + QStringLiteral("/tarvok-sim"),
                  QStringList{QStringLiteral("--link"), plc, QStringLiteral("--log"), simLog} +
                      simOptions);
        ASSERT_TRUE(sim.waitForReadyRead(10000));
        ASSERT_TRUE(QFileInfo::exists(plc));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVOK_INI"), dir.filePath(QStringLiteral("tarvok.ini")));
        env.insert(QStringLiteral("TARVOK_COM1"), plc);
        env.insert(QStringLiteral("TARVOK_SPLASH_MS"), QStringLiteral("0"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(work);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(buildDir() + QStringLiteral("/tarvok"), {});
        ASSERT_TRUE(program.waitForStarted());
        for (int i = 0; i < 600 && countLines(simLog, QStringLiteral("request read")) < polls; ++i)
            QThread::msleep(100);
        ASSERT_GE(countLines(simLog, QStringLiteral("request read")), polls);
        program.terminate();
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        sim.terminate();
        sim.waitForFinished();
    }

    QTemporaryDir dir;
    QString work;
    QString simLog;
    QProcess sim;
    QProcess program;
};

TEST_F(WorkstationSimTest, JournalTellsTheRunInOrder)
{
    // Six silent polls after the tenth: the link is declared lost once, after
    // the fourth failure, and restored at the first answer.
    run({QStringLiteral("--silent-after"), QStringLiteral("10"), QStringLiteral("--silent-polls"),
         QStringLiteral("6")},
        22);
    const std::vector<Entry> journal = readJournal(onlyFile(work, QStringLiteral("jur_*.dbf")));
    ASSERT_GE(journal.size(), 5u);

    const QString start = QStringLiteral("Запуск программы");
    const QString good = QStringLiteral("Связь с ШУ установлена");
    const QString bad = QStringLiteral("Сбой связи с ШУ");
    expectIndependentReaderAgrees(onlyFile(work, QStringLiteral("jur_*.dbf")));
    EXPECT_EQ(journal[0].text, start);
    EXPECT_EQ(journal[0].code, 0);

    // The first good poll: the first-pass raises of the simulator's alarms
    // (code 1), then the link event that follows the poll's follow-up.
    std::size_t i = 1;
    while (i < journal.size() && journal[i].text != good) {
        EXPECT_EQ(journal[i].code, 1) << journal[i].text.toStdString();
        ++i;
    }
    EXPECT_GT(i, 1u) << "the simulator starts with raised alarms";
    ASSERT_LT(i, journal.size());
    EXPECT_EQ(journal[i].code, 0);

    int lost = 0;
    int restored = 0;
    std::size_t lostAt = 0;
    for (std::size_t k = i + 1; k < journal.size(); ++k) {
        if (journal[k].text == bad) {
            ++lost;
            lostAt = k;
            EXPECT_EQ(journal[k].code, 1);
        } else if (journal[k].text == good) {
            ++restored;
            EXPECT_GT(k, lostAt);
            EXPECT_EQ(journal[k].code, 0);
        }
    }
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(restored, 1);

    const auto exitEntry = std::find_if(journal.begin(), journal.end(),
                                        [](const Entry& e) { return e.code == 2; });
    ASSERT_NE(exitEntry, journal.end());
    EXPECT_EQ(exitEntry->text, QStringLiteral("Выход из программы"));
    // Only the events of the last poll step may follow the exit entry.
    for (auto it = exitEntry + 1; it != journal.end(); ++it)
        EXPECT_NE(it->code, 2);
}

TEST_F(WorkstationSimTest, ProtocolAndArchiveHoldWhatTheControllerSent)
{
    run({QStringLiteral("--dose-every"), QStringLiteral("3")}, 25);

    expectIndependentReaderAgrees(onlyFile(work, QStringLiteral("arh_*.dbf")));
    expectIndependentReaderAgrees(onlyFile(work, QStringLiteral("doz_*.dbf")));

    // One archive record per good poll.
    tables::DbfTable archive;
    archive.setPath(onlyFile(work, QStringLiteral("arh_*.dbf")));
    ASSERT_FALSE(archive.open(tables::OpenMode::Read).has_value());
    EXPECT_EQ(archive.recordCount(), countLines(simLog, QStringLiteral("reply read ok")));

    // Every protocol record is a dose the simulator logged (after the first
    // poll, which only primes the dose check).
    QFile log(simLog);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    static const QRegularExpression doseLine(QStringLiteral(
        "poll=(\\d+) dose doser=(\\d) marker=\\d+ setpoint=(\\d+) task=(\\d+) material=(\\d+) "
        "weight=(\\d+)"));
    std::set<std::tuple<QString, qint64, qint64, int, qint64>> logged;
    int afterFirst = 0;
    for (const QString& line : QString::fromUtf8(log.readAll()).split(u'\n')) {
        const auto m = doseLine.match(line);
        if (!m.hasMatch())
            continue;
        logged.insert({m.captured(2), m.captured(3).toLongLong(), m.captured(4).toLongLong(),
                       m.captured(5).toInt(), m.captured(6).toLongLong()});
        if (m.captured(1).toInt() > 1)
            ++afterFirst;
    }
    tables::DbfTable protocol;
    protocol.setPath(onlyFile(work, QStringLiteral("doz_*.dbf")));
    ASSERT_FALSE(protocol.open(tables::OpenMode::Read).has_value());
    EXPECT_EQ(protocol.recordCount(), afterFirst);
    for (bool ok = protocol.first(); ok; ok = protocol.next()) {
        const auto key = std::make_tuple(protocol.text(u"DOZATOR"), *protocol.integer(u"ZAD"),
                                         *protocol.integer(u"SKOR_ZAD"),
                                         protocol.text(u"COD_MAT").toInt(), *protocol.integer(u"VES"));
        EXPECT_TRUE(logged.count(key)) << protocol.text(u"DOZATOR").toStdString();
    }
}

} // namespace
