// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/journal.h"

#include "tables/daily_files.h"
#include "tables/dbf_table.h"
#include "tests/tables/table_test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using tarvok::alarms::Journal;
using tarvok::tables::DailyFileName;
using tarvok::tables::DbfTable;
using tarvok::tables::OpenMode;
using tarvok::testing::FakeClock;
using tarvok::testing::readAll;
using tarvok::testing::writeAll;

namespace {

struct Record {
    QString time;
    QDate date;
    QString text;
    std::int64_t code;

    friend bool operator==(const Record&, const Record&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Record& r)
    {
        return os << r.time.toStdString() << ' ' << r.date.toString(Qt::ISODate).toStdString()
                  << ' ' << r.text.toStdString() << ' ' << r.code;
    }
};

class JournalTest : public ::testing::Test {
protected:
    QString dayPath(const QDate& d) const
    {
        return dir.filePath(DailyFileName(QStringLiteral("jur_"), d));
    }

    std::vector<Record> records(const QDate& d)
    {
        std::vector<Record> out;
        DbfTable t;
        t.setPath(dayPath(d));
        if (t.open(OpenMode::Read))
            return out;
        for (bool more = t.first(); more; more = t.next())
            out.push_back({t.text(u"TIME"), t.date(u"DAT").value_or(QDate()), t.text(u"REC_STR"),
                           t.integer(u"CODZ").value_or(-1)});
        return out;
    }

    void at(int y, int m, int d, int hh, int mm, int ss)
    {
        clock.set(QDateTime(QDate(y, m, d), QTime(hh, mm, ss)));
    }

    QTemporaryDir dir;
    FakeClock clock{QDateTime(QDate(2024, 1, 5), QTime(14, 5, 9))};
    std::atomic<int> maxArhDay{45};
    Journal journal{dir.path(), maxArhDay, clock};
    QStringList reports;
    const QDate jan5{2024, 1, 5};
};

TEST_F(JournalTest, EntriesAreStoredWithTimeDateTextAndCode)
{
    journal.setFailureReport([this](const QString& m) { reports << m; });
    journal.Jurnal(QStringLiteral("Запуск программы"), 0);
    EXPECT_EQ(readAll(dayPath(jan5)).size(), 278);
    at(2024, 1, 5, 9, 0, 0);
    journal.Jurnal(QStringLiteral("Останов"), 1);
    at(2024, 1, 5, 9, 0, 1);
    journal.Jurnal(QStringLiteral("ПУСК"), 0);
    journal.Jurnal(QString(95, QChar(u'а')), 1);
    journal.Jurnal(QStringLiteral("Выход из программы"), 2);

    const std::vector<Record> expected = {
        {QStringLiteral("14:05:09"), jan5, QStringLiteral("Запуск программы"), 0},
        {QStringLiteral("9:00:00"), jan5, QStringLiteral("Останов"), 1},
        {QStringLiteral("9:00:01"), jan5, QStringLiteral("ПУСК"), 0},
        {QStringLiteral("9:00:01"), jan5, QString(90, QChar(u'а')), 1},
        {QStringLiteral("9:00:01"), jan5, QStringLiteral("Выход из программы"), 2},
    };
    EXPECT_EQ(records(jan5), expected);
    const QByteArray bytes = readAll(dayPath(jan5));
    EXPECT_EQ(bytes.size(), 161 + 5 * 116 + 1);
    EXPECT_EQ(bytes.mid(161 + 116 + 107, 9), QByteArray("        1"));
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(journal.heldCount(), 0);
}

TEST_F(JournalTest, TheFirstEntryOfADayCreatesItsFileAndPrunesTheOldest)
{
    for (int i = 0; i < 45; ++i) {
        DbfTable t;
        t.setPath(dayPath(QDate(2023, 11, 21).addDays(i)));
        ASSERT_FALSE(t.create(Journal::fields()));
    }
    at(2024, 1, 4, 23, 59, 59);
    journal.Jurnal(QStringLiteral("before midnight"), 0); // 2024-01-04 already among the 45
    EXPECT_TRUE(QFileInfo::exists(dayPath(QDate(2023, 11, 21))));

    at(2024, 1, 5, 0, 0, 5);
    journal.Jurnal(QStringLiteral("after midnight"), 0);
    EXPECT_FALSE(QFileInfo::exists(dayPath(QDate(2023, 11, 21))));
    EXPECT_TRUE(QFileInfo::exists(dayPath(QDate(2023, 11, 22))));
    EXPECT_EQ(records(jan5), (std::vector<Record>{{QStringLiteral("0:00:05"), jan5,
                                                   QStringLiteral("after midnight"), 0}}));

    // Deleted by hand while running: created again, and retention runs again.
    maxArhDay = 44;
    ASSERT_TRUE(QFile::remove(dayPath(jan5)));
    journal.Jurnal(QStringLiteral("again"), 1);
    EXPECT_EQ(records(jan5).size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(dayPath(QDate(2023, 11, 22))));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("jur_*.dbf")}, QDir::Files).size(), 44);
}

TEST_F(JournalTest, EntriesThatCouldNotBeWrittenAreKeptInOrderAndReportedOnce)
{
    journal.setFailureReport([this](const QString& m) {
        // Reported outside the journal's lock: asking it back must not hang.
        reports << QStringLiteral("%1 (%2 held)").arg(m).arg(journal.heldCount());
    });
    journal.Jurnal(QStringLiteral("first"), 0);
    // A folder where the day's file should be: the writes fail even as root.
    ASSERT_TRUE(QFile::remove(dayPath(jan5)));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QFileInfo(dayPath(jan5)).fileName()));

    at(2024, 1, 5, 15, 0, 0);
    journal.Jurnal(QStringLiteral("Останов"), 1);
    at(2024, 1, 5, 15, 0, 1);
    journal.Jurnal(QStringLiteral("ПУСК"), 0);
    at(2024, 1, 5, 15, 0, 2);
    journal.Jurnal(QStringLiteral("Сбой связи с ШУ"), 1);
    EXPECT_EQ(journal.heldCount(), 3);
    ASSERT_EQ(reports.size(), 1) << reports.join(u'\n').toStdString();
    EXPECT_TRUE(reports[0].startsWith(Journal::failureText(QString()))) << reports[0].toStdString();
    EXPECT_FALSE(journal.flush());
    EXPECT_EQ(reports.size(), 1);

    ASSERT_TRUE(QDir(dir.path()).rmdir(QFileInfo(dayPath(jan5)).fileName()));
    at(2024, 1, 5, 15, 10, 0);
    journal.Jurnal(QStringLiteral("Связь с ШУ установлена"), 0);
    EXPECT_EQ(journal.heldCount(), 0);
    EXPECT_EQ(reports.size(), 1);
    EXPECT_EQ(records(jan5),
              (std::vector<Record>{
                  {QStringLiteral("15:00:00"), jan5, QStringLiteral("Останов"), 1},
                  {QStringLiteral("15:00:01"), jan5, QStringLiteral("ПУСК"), 0},
                  {QStringLiteral("15:00:02"), jan5, QStringLiteral("Сбой связи с ШУ"), 1},
                  {QStringLiteral("15:10:00"), jan5, QStringLiteral("Связь с ШУ установлена"), 0},
              }));

    // A new failure after a success is reported again: here a file that is
    // no table.
    ASSERT_TRUE(writeAll(dayPath(jan5), QByteArray("not a table at all, just text")));
    journal.Jurnal(QStringLiteral("lost?"), 0);
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[1].contains(QStringLiteral("Invalid DBF file.")))
        << reports[1].toStdString();
    EXPECT_EQ(journal.heldCount(), 1);
}

TEST_F(JournalTest, ADayWhoseFileKeepsFailingDoesNotHoldBackTheNextDay)
{
    journal.setFailureReport([this](const QString& m) { reports << m; });
    const QDate jan4(2024, 1, 4);
    ASSERT_TRUE(writeAll(dayPath(jan4), QByteArray("damaged by hand")));
    at(2024, 1, 4, 23, 59, 58);
    journal.Jurnal(QStringLiteral("late 1"), 1);
    at(2024, 1, 4, 23, 59, 59);
    journal.Jurnal(QStringLiteral("late 2"), 0);
    at(2024, 1, 5, 0, 0, 1);
    journal.Jurnal(QStringLiteral("early"), 0);
    EXPECT_EQ(records(jan5),
              (std::vector<Record>{{QStringLiteral("0:00:01"), jan5, QStringLiteral("early"), 0}}));
    EXPECT_EQ(journal.heldCount(), 2);
    EXPECT_EQ(reports.size(), 1);

    ASSERT_TRUE(QFile::remove(dayPath(jan4)));
    EXPECT_TRUE(journal.flush());
    EXPECT_EQ(records(jan4), (std::vector<Record>{
                                 {QStringLiteral("23:59:58"), jan4, QStringLiteral("late 1"), 1},
                                 {QStringLiteral("23:59:59"), jan4, QStringLiteral("late 2"), 0}}));
    EXPECT_EQ(reports.size(), 1);
}

TEST_F(JournalTest, ALastingFailureKeepsABoundedNumberAndReportsTheDroppedOnResuming)
{
    journal.setFailureReport([this](const QString& m) { reports << m; });
    ASSERT_TRUE(QDir(dir.path()).mkdir(QFileInfo(dayPath(jan5)).fileName()));
    for (int i = 0; i < Journal::MaxHeldEntries + 5; ++i)
        journal.Jurnal(QStringLiteral("e%1").arg(i), 1);
    EXPECT_EQ(journal.heldCount(), Journal::MaxHeldEntries);
    EXPECT_EQ(reports.size(), 1);

    ASSERT_TRUE(QDir(dir.path()).rmdir(QFileInfo(dayPath(jan5)).fileName()));
    journal.Jurnal(QStringLiteral("back"), 0);
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[1], Journal::droppedText(5));
    const auto stored = records(jan5);
    ASSERT_EQ(stored.size(), std::size_t(Journal::MaxHeldEntries + 1));
    EXPECT_EQ(stored.front().text, QStringLiteral("e0"));
    EXPECT_EQ(stored[Journal::MaxHeldEntries - 1].text,
              QStringLiteral("e%1").arg(Journal::MaxHeldEntries - 1));
    EXPECT_EQ(stored.back().text, QStringLiteral("back"));
}

TEST_F(JournalTest, ConcurrentCallersLoseAndCorruptNothing)
{
    constexpr int perThread = 300;
    auto writer = [this](QChar tag) {
        for (int i = 0; i < perThread; ++i)
            journal.Jurnal(QStringLiteral("%1 %2").arg(tag).arg(i), tag == u'A' ? 1 : 0);
    };
    std::thread a(writer, QChar(u'A'));
    std::thread b(writer, QChar(u'B'));
    a.join();
    b.join();

    const auto stored = records(jan5);
    ASSERT_EQ(stored.size(), std::size_t(2 * perThread));
    int nextA = 0;
    int nextB = 0;
    for (const Record& r : stored) {
        const bool isA = r.text.startsWith(u'A');
        int& next = isA ? nextA : nextB;
        EXPECT_EQ(r.text, QStringLiteral("%1 %2").arg(QChar(isA ? u'A' : u'B')).arg(next));
        EXPECT_EQ(r.code, isA ? 1 : 0);
        EXPECT_EQ(r.time, QStringLiteral("14:05:09"));
        ++next;
    }
    EXPECT_EQ(readAll(dayPath(jan5)).size(), 161 + 2 * perThread * 116 + 1);
}

} // namespace
