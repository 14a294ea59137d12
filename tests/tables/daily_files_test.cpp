// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tables/daily_files.h"
#include "tables/daily_writer.h"

#include "tests/tables/table_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvok::tables;
using tarvok::testing::FakeClock;
using tarvok::testing::readAll;
using tarvok::testing::writeAll;

namespace {

struct NameCase {
    const char* prefix;
    QDate date;
    const char* name;
};

class DailyFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(DailyFileNameTest, CarriesTheDateWithLeadingZerosAndReadsBack)
{
    const auto& c = GetParam();
    const QString prefix = QString::fromUtf8(c.prefix);
    EXPECT_EQ(DailyFileName(prefix, c.date), QString::fromUtf8(c.name));
    EXPECT_EQ(DailyFileDate(prefix, QString::fromUtf8(c.name)), c.date);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DailyFileNameTest,
    ::testing::Values(NameCase{"jur_", QDate(2024, 1, 5), "jur_2024_01_05.dbf"},
                      NameCase{"doz_", QDate(2023, 12, 31), "doz_2023_12_31.dbf"},
                      NameCase{"arh_", QDate(987, 10, 9), "arh_0987_10_09.dbf"}));

TEST(DailyFileDate, NamesWithoutAValidDateCarryNone)
{
    for (const char* name : {"jur_backup.dbf", "jur_2024_13_01.dbf", "jur_2023_02_29.dbf",
                             "jur_20x4_01_01.dbf", "jur_2024_1_5.dbf", "jur_.dbf"})
        EXPECT_FALSE(DailyFileDate(QStringLiteral("jur_"), QString::fromUtf8(name))) << name;
}

class PruneTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // Creates the file; its time stamp runs against its date, so a prune
    // that went by time stamps would pick the wrong one.
    void touch(const QString& name, const QDate& date)
    {
        ASSERT_TRUE(writeAll(path(name), QByteArray("x")));
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const QDateTime stamp =
            QDateTime(QDate(2030, 1, 1), QTime(0, 0)).addDays(-date.toJulianDay() % 10000);
        ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }

    void dayFiles(const QString& prefix, const QDate& from, int days)
    {
        for (int i = 0; i < days; ++i)
            touch(DailyFileName(prefix, from.addDays(i)), from.addDays(i));
    }

    int count(const QString& pattern) const
    {
        return static_cast<int>(QDir(dir.path()).entryList({pattern}, QDir::Files).size());
    }

    QTemporaryDir dir;
    const QString jur = QStringLiteral("jur_");
};

TEST_F(PruneTest, TheFortySixthFileDeletesExactlyTheEarliestDated)
{
    // Created out of date order, in a year-straddling range.
    dayFiles(jur, QDate(2024, 1, 10), 30);
    dayFiles(jur, QDate(2023, 12, 26), 15);
    ASSERT_EQ(count(QStringLiteral("jur_*.dbf")), 45);

    const QString created = DailyFileName(jur, QDate(2024, 2, 9));
    touch(created, QDate(2024, 2, 9));
    EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 45, created), QStringLiteral("jur_2023_12_26.dbf"));
    EXPECT_EQ(count(QStringLiteral("jur_*.dbf")), 45);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("jur_2023_12_26.dbf"))));

    // At or below the limit nothing goes.
    EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 45, created), std::nullopt);
    EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 100, created), std::nullopt);
}

TEST_F(PruneTest, FiftyFilesWithALowerLimitStayFiftyOneInOneOut)
{
    dayFiles(jur, QDate(2024, 3, 1), 50);
    for (int day = 0; day < 3; ++day) {
        const QDate d = QDate(2024, 3, 1).addDays(50 + day);
        const QString created = DailyFileName(jur, d);
        touch(created, d);
        EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 45, created),
                  DailyFileName(jur, QDate(2024, 3, 1).addDays(day)));
        EXPECT_EQ(count(QStringLiteral("jur_*.dbf")), 50);
    }
}

TEST_F(PruneTest, OtherPrefixesAndUndatedNamesAreNeitherCountedNorDeleted)
{
    dayFiles(jur, QDate(2024, 5, 1), 3);
    dayFiles(QStringLiteral("doz_"), QDate(2020, 1, 1), 5);
    dayFiles(QStringLiteral("arh_"), QDate(2020, 1, 1), 5);
    for (const char* odd : {"jur_backup.dbf", "jur_2024_13_01.dbf", "jur_0000_00_00.dbf"})
        touch(QString::fromUtf8(odd), QDate(2000, 1, 1));
    touch(QStringLiteral("jur_2019_01_01.txt"), QDate(2019, 1, 1));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("jur_2019_01_02.dbf")));

    // Three dated journal files: a limit of 3 keeps them all.
    EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 3, QStringLiteral("jur_2024_05_03.dbf")),
              std::nullopt);
    EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 2, QStringLiteral("jur_2024_05_03.dbf")),
              QStringLiteral("jur_2024_05_01.dbf"));
    EXPECT_EQ(count(QStringLiteral("doz_*.dbf")), 5);
    EXPECT_EQ(count(QStringLiteral("arh_*.dbf")), 5);
    for (const char* odd : {"jur_backup.dbf", "jur_2024_13_01.dbf", "jur_0000_00_00.dbf",
                            "jur_2019_01_01.txt", "jur_2019_01_02.dbf"})
        EXPECT_TRUE(QFileInfo::exists(path(QString::fromUtf8(odd)))) << odd;
}

TEST_F(PruneTest, TheFileJustCreatedIsNeverTheOneDeleted)
{
    // A limit below 1 would otherwise remove the only file of its prefix.
    const QString only = DailyFileName(jur, QDate(2024, 6, 1));
    touch(only, QDate(2024, 6, 1));
    EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 0, only), std::nullopt);
    EXPECT_TRUE(QFileInfo::exists(path(only)));

    // Even when it carries the earliest date (an entry held over from an
    // older day), another file goes instead.
    const QString older = DailyFileName(jur, QDate(2024, 5, 31));
    touch(older, QDate(2024, 5, 31));
    EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 1, older), only);
    EXPECT_TRUE(QFileInfo::exists(path(older)));
}

TEST_F(PruneTest, UpperCaseNamesFromOtherSystemsCount)
{
    touch(QStringLiteral("JUR_2024_01_01.DBF"), QDate(2024, 1, 1));
    dayFiles(jur, QDate(2024, 1, 2), 2);
    EXPECT_EQ(PruneDailyFiles(dir.path(), jur, 2, QStringLiteral("jur_2024_01_03.dbf")),
              QStringLiteral("JUR_2024_01_01.DBF"));
}

TEST(DailyWriter, CreatesAMissingOrEmptyDayFileAndStoresValuesInFieldOrder)
{
    QTemporaryDir dir;
    FakeClock clock(QDateTime(QDate(2024, 1, 5), QTime(10, 0)));
    QList<FieldDef> fields = {textField(QStringLiteral("TIME"), 8),
                              dateField(QStringLiteral("DAT"))};
    for (int i = 1; i <= 18; ++i)
        fields.append(numberField(QStringLiteral("ZAD%1").arg(i)));
    int limit = 1;
    DailyWriter writer(
        dir.path(), QStringLiteral("arh_"), fields, [&limit] { return limit; }, clock);
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("arh_2024_01_01.dbf")), QByteArray("old")));

    const QDate day(2024, 1, 5);
    QList<FieldValue> values = {QStringLiteral("10:00:00"), day};
    for (int i = 1; i <= 18; ++i)
        values.append(std::int64_t(i * 1000));
    ASSERT_FALSE(writer.append(day, values));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("arh_2024_01_01.dbf"))));
    ASSERT_FALSE(writer.append(day, {QStringLiteral("10:00:01")}));

    // Too wide: nothing stored.
    values[19] = std::int64_t(1234567890);
    const MaybeError e = writer.append(day, values);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->code, Error::Code::ValueTooWide);

    const QString path = writer.pathFor(day);
    EXPECT_EQ(readAll(path).size(), 673 + 2 * 179 + 1);
    DbfTable t(clock);
    t.setPath(path);
    ASSERT_FALSE(t.open(OpenMode::Read));
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.text(u"TIME"), QStringLiteral("10:00:00"));
    EXPECT_EQ(t.integer(u"ZAD18"), 18000);
    ASSERT_TRUE(t.next());
    EXPECT_TRUE(t.isBlank(u"DAT"));
    EXPECT_TRUE(t.isBlank(u"ZAD1"));
    ASSERT_FALSE(t.close());

    // A create cut short leaves an empty file; the next day's append starts it afresh.
    const QDate next(2024, 1, 6);
    ASSERT_TRUE(writeAll(writer.pathFor(next), QByteArray()));
    ASSERT_FALSE(writer.append(next, {QStringLiteral("00:00:01")}));
    EXPECT_EQ(readAll(writer.pathFor(next)).size(), 673 + 179 + 1);
}

} // namespace
