// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers

#include "archive/archive_recorder.h"

#include "tests/dosing/recording_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <atomic>
#include <optional>
#include <string>

using namespace tarvok;
using namespace tarvok::testing;
using archive::ArchiveRecorder;

namespace {

void put16(link::ControllerImage& image, int at, std::uint8_t lo, std::uint8_t hi)
{
    image.main[at] = lo;
    image.main[at + 1] = hi;
}

class ArchiveRecorderTest : public ::testing::Test {
protected:
    QString dayFile(const QDate& d) const
    {
        return dir.filePath(
            QStringLiteral("arh_%1.dbf").arg(d.toString(QStringLiteral("yyyy_MM_dd"))));
    }
    QStringList archiveFiles() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("arh_*.dbf")});
    }

    QTemporaryDir dir;
    std::atomic<int> maxArhDay{45};
    StepClock clock{at(2024, 1, 5, 9, 5, 3)};
    QStringList reports;
    std::optional<ArchiveRecorder> recorder{std::in_place, dir.path(), maxArhDay, clock,
                                            [this](const QString& m) { reports.append(m); }};
    link::ControllerImage image;
};

// Each of the 18 values has its own bytes, so a wrong offset or a wrong
// signedness shows as a wrong field.
TEST_F(ArchiveRecorderTest, ValuesComeFromTheirOffsetsSetpointsUnsignedWeightsSigned)
{
    struct Value {
        const char* field;
        int offset;
        std::uint8_t lo, hi;
        int stored;
    };
    const Value values[] = {
        {"ZAD1", 3, 0xFF, 0xFF, 65535},   {"KOR1", 21, 0xFE, 0xFF, 65534},
        {"VES1", 36, 0xFE, 0xFF, -2},     {"ZAD2", 6, 0x10, 0x27, 10000},
        {"KOR2", 23, 0x00, 0x80, 32768},  {"VES2", 38, 0x10, 0x27, 10000},
        {"ZAD3", 9, 0x03, 0x00, 3},       {"KOR3", 25, 0x04, 0x01, 260},
        {"VES3", 40, 0x00, 0x80, -32768}, {"ZAD4", 12, 0x05, 0x00, 5},
        {"KOR4", 27, 0x06, 0x00, 6},      {"VES4", 42, 0xFF, 0x7F, 32767},
        {"ZAD5", 15, 0x07, 0x00, 7},      {"KOR5", 29, 0x08, 0x00, 8},
        {"VES5", 44, 0xFF, 0xFF, -1},     {"ZAD6", 18, 0x09, 0x00, 9},
        {"KOR6", 31, 0x0A, 0x00, 10},     {"VES6", 46, 0x00, 0x00, 0},
    };
    image.main.fill(0x55); // bytes between the values must not leak in
    for (const Value& v : values)
        put16(image, v.offset, v.lo, v.hi);
    ASSERT_TRUE(recorder->Arhive(image));

    const QString path = dayFile(QDate(2024, 1, 5));
    const auto records = engineRecords(path);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0][QStringLiteral("TIME")], QStringLiteral("9:05:03"));
    EXPECT_EQ(records[0][QStringLiteral("DAT")], QStringLiteral("20240105"));
    for (const Value& v : values)
        EXPECT_EQ(records[0][QString::fromUtf8(v.field)], QString::number(v.stored)) << v.field;

    // The bytes of the record: TIME, DAT, then eighteen right-aligned N(9).
    const QByteArray file = fileBytes(path);
    ASSERT_EQ(file.size(), 673 + 179 + 1);
    EXPECT_EQ(file.mid(8, 4), QByteArray("\xA1\x02\xB3\x00", 4)); // 673, 179
    for (int i = 0; i < 20; ++i) {
        const QByteArray d = file.mid(32 + 32 * i, 32);
        EXPECT_EQ(d.left(11), QByteArray(i == 0   ? "TIME"
                                         : i == 1 ? "DAT"
                                                  : values[i - 2].field)
                                  .leftJustified(11, '\0'));
        EXPECT_EQ(d[11], i == 0 ? 'C' : i == 1 ? 'D' : 'N');
        EXPECT_EQ(int(d[16]), i < 2 ? 8 : 9);
    }
    QByteArray expected = QByteArray(" ") + "9:05:03 " + "20240105";
    for (const Value& v : values)
        expected += QByteArray::number(v.stored).rightJustified(9, ' ');
    EXPECT_EQ(file.mid(673, 179), expected);
    EXPECT_EQ(file.back(), '\x1A');

    QString error;
    const auto independent = dbfreadRecords(path, &error);
    if (!independent)
        GTEST_SKIP() << "python3 with dbfread is not available";
    ASSERT_EQ(independent->size(), 1) << qPrintable(error);
    const QJsonObject r = independent->at(0).toObject();
    EXPECT_EQ(r[QStringLiteral("TIME")].toString(), QStringLiteral("9:05:03"));
    EXPECT_EQ(r[QStringLiteral("DAT")].toString(), QStringLiteral("2024-01-05"));
    for (const Value& v : values)
        EXPECT_EQ(r[QString::fromUtf8(v.field)].toInt(), v.stored) << v.field;
}

TEST_F(ArchiveRecorderTest, OneRecordPerCallAndARestartInTheDayAppendsWithoutRetention)
{
    maxArhDay = 2;
    for (int d : {1, 2})
        ASSERT_TRUE(putBytes(dayFile(QDate(2024, 1, d)), QByteArray("x")));

    for (int i = 0; i < 3; ++i) {
        put16(image, 3, std::uint8_t(i), 0);
        clock.set(at(2024, 1, 5, 9, 5, i));
        ASSERT_TRUE(recorder->Arhive(image));
    }
    // The day's first poll deleted the oldest file.
    EXPECT_EQ(archiveFiles(), (QStringList{QStringLiteral("arh_2024_01_02.dbf"),
                                           QStringLiteral("arh_2024_01_05.dbf")}));

    // A program started again later that day, with an older file planted
    // meanwhile: it appends and deletes nothing.
    ASSERT_TRUE(putBytes(dayFile(QDate(2023, 12, 31)), QByteArray("x")));
    recorder.emplace(dir.path(), maxArhDay, clock, [this](const QString& m) { reports.append(m); });
    put16(image, 3, 9, 0);
    clock.set(at(2024, 1, 5, 14, 0, 0));
    ASSERT_TRUE(recorder->Arhive(image));
    EXPECT_EQ(archiveFiles().size(), 3);

    const auto records = engineRecords(dayFile(QDate(2024, 1, 5)));
    QStringList got;
    for (const auto& r : records)
        got << r[QStringLiteral("TIME")] + u'=' + r[QStringLiteral("ZAD1")];
    EXPECT_EQ(got, (QStringList{QStringLiteral("9:05:00=0"), QStringLiteral("9:05:01=1"),
                                QStringLiteral("9:05:02=2"), QStringLiteral("14:00:00=9")}));
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(ArchiveRecorderTest, FileNameFromTheFirstReadingTimeAndDateFromTheSecond)
{
    clock.steps({at(2024, 1, 5, 23, 59, 59, 900), at(2024, 1, 6, 0, 0, 0, 100)});
    ASSERT_TRUE(recorder->Arhive(image));
    EXPECT_EQ(archiveFiles(), QStringList{QStringLiteral("arh_2024_01_05.dbf")});
    const auto records = engineRecords(dayFile(QDate(2024, 1, 5)));
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0][QStringLiteral("TIME")], QStringLiteral("0:00:00"));
    EXPECT_EQ(records[0][QStringLiteral("DAT")], QStringLiteral("20240106"));
}

class ArchiveWriteFailure : public ArchiveRecorderTest,
                            public ::testing::WithParamInterface<Breakage> {};

TEST_P(ArchiveWriteFailure, FailedRecordsAreDroppedReportedOnceAndRecordingResumes)
{
    const QString path = dayFile(QDate(2024, 1, 5));
    std::vector<bool> written;
    auto poll = [&](int zad) {
        put16(image, 3, std::uint8_t(zad), 0);
        bool ok = false;
        EXPECT_NO_THROW(ok = recorder->Arhive(image));
        written.push_back(ok);
    };
    poll(1);
    poll(2);
    ASSERT_TRUE(breakFile(path, GetParam()));
    poll(3);
    poll(4);
    poll(5);
    EXPECT_EQ(reports.size(), 1);
    ASSERT_TRUE(repairFile(path, GetParam()));
    poll(6);
    poll(7);
    ASSERT_TRUE(breakFile(path, GetParam()));
    poll(8);
    ASSERT_TRUE(repairFile(path, GetParam()));
    poll(9);

    EXPECT_EQ(written,
              (std::vector<bool>{true, true, false, false, false, true, true, false, true}));
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("Ошибка записи архива: ")))
        << qPrintable(reports[0]);
    QStringList zad;
    for (const auto& r : engineRecords(path))
        zad << r[QStringLiteral("ZAD1")];
    EXPECT_EQ(zad, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("6"),
                                QStringLiteral("7"), QStringLiteral("9")}));
}

INSTANTIATE_TEST_SUITE_P(Breakages, ArchiveWriteFailure,
                         ::testing::Values(Breakage::DirectoryInPlace, Breakage::DamagedHeader),
                         [](const auto& info) { return std::string(breakageName(info.param)); });

} // namespace
