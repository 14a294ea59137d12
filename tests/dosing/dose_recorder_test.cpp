// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers

#include "dosing/dose_recorder.h"

#include "tests/dosing/recording_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <atomic>
#include <string>
#include <vector>

using namespace tarvok;
using namespace tarvok::testing;
using dosing::DoseRecorder;

namespace {

using Block = DoseRecorder::Block;

Block dose(int marker, int zad, int task, int material, int weight)
{
    return Block{std::uint8_t(marker),        std::uint8_t(zad & 0xFF), std::uint8_t(zad >> 8),
                 std::uint8_t(task & 0xFF),   std::uint8_t(task >> 8),  std::uint8_t(material),
                 std::uint8_t(weight & 0xFF), std::uint8_t(weight >> 8)};
}

void put(link::ControllerImage& image, int doser, const Block& b)
{
    std::copy(b.begin(), b.end(), image.dosers[doser - 1].bytes.begin());
}

// Poll i happens at 9:(10 + i):03 on 5 January 2024, so a record's MIN says
// which poll wrote it.
QDateTime pollTime(int i)
{
    return at(2024, 1, 5, 9, 10 + i, 3);
}

class DoseRecorderTest : public ::testing::Test {
protected:
    QString dayFile(const QDate& d) const
    {
        return dir.filePath(
            QStringLiteral("doz_%1.dbf").arg(d.toString(QStringLiteral("yyyy_MM_dd"))));
    }

    QTemporaryDir dir;
    std::atomic<int> maxArhDay{45};
    StepClock clock{pollTime(0)};
    QStringList reports;
    DoseRecorder recorder{dir.path(), maxArhDay, clock,
                          [this](const QString& m) { reports.append(m); }};
    link::ControllerImage image;
};

// --- Successive doser blocks and the records they give ---

struct DoserBlock {
    int doser;
    Block block;
};

struct Poll {
    std::vector<DoserBlock> blocks; // put into the image before the poll, in this order
    std::uint8_t mode = 1;
    bool good = true; // false: the exchange failed, no completion check
};

struct Expected {
    int poll; // which poll wrote it
    const char* doser;
    int zad;
    int task;
    const char* material;
    int weight;
    const char* mode;
};

struct SequenceCase {
    std::string name;
    std::vector<Poll> polls;
    std::vector<Expected> records;

    friend void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }
};

class DoseSequence : public DoseRecorderTest, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(DoseSequence, WritesOneRecordPerFinishedDose)
{
    const SequenceCase& c = GetParam();
    for (int i = 0; i < int(c.polls.size()); ++i) {
        for (const DoserBlock& b : c.polls[i].blocks)
            put(image, b.doser, b.block);
        image.mode = c.polls[i].mode;
        clock.set(pollTime(i));
        if (c.polls[i].good)
            recorder.CompleteDoza(image);
    }

    const auto records = engineRecords(dayFile(pollTime(0).date()));
    ASSERT_EQ(records.size(), qsizetype(c.records.size()));
    for (int i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const Expected& e = c.records[i];
        const auto& r = records[i];
        EXPECT_EQ(r[QStringLiteral("TIME")], platform::storedTime(pollTime(e.poll).time()));
        EXPECT_EQ(r[QStringLiteral("DAT")], QStringLiteral("20240105"));
        EXPECT_EQ(r[QStringLiteral("HOUR")], QStringLiteral("9"));
        EXPECT_EQ(r[QStringLiteral("MIN")], QString::number(10 + e.poll));
        EXPECT_EQ(r[QStringLiteral("DOZATOR")], QString::fromUtf8(e.doser));
        EXPECT_EQ(r[QStringLiteral("ZAD")], QString::number(e.zad));
        EXPECT_EQ(r[QStringLiteral("SKOR_ZAD")], QString::number(e.task));
        EXPECT_EQ(r[QStringLiteral("COD_MAT")], QString::fromUtf8(e.material));
        EXPECT_EQ(r[QStringLiteral("VES")], QString::number(e.weight));
        EXPECT_EQ(r[QStringLiteral("REG_DOZ")], QString::fromUtf8(e.mode));
    }
    EXPECT_TRUE(reports.isEmpty());
}

const char* const kAuto = "Автомат";
const char* const kManual = "Ручной";

INSTANTIATE_TEST_SUITE_P(
    Markers, DoseSequence,
    ::testing::Values(
        SequenceCase{
            "FirstPollOnlyTakesTheCopies",
            {{{{1, dose(3, 1, 1, 1, 1)}, {2, dose(9, 2, 2, 2, 2)}, {6, dose(255, 6, 6, 6, 6)}}},
             {}},
            {}},
        SequenceCase{"ToZeroNothingToNonzeroOneUnchangedNothing",
                     {{{{1, dose(5, 100, 110, 3, 120)}}},
                      {{{1, dose(0, 200, 210, 3, 220)}}},
                      {{{1, dose(6, 300, 310, 3, 320)}}},
                      {{{1, dose(7, 400, 410, 3, 420)}}},
                      // Bytes 1-7 alone changing is no dose.
                      {{{1, dose(7, 500, 510, 4, 520)}}}},
                     {{2, "1", 300, 310, "03", 320, kAuto}, {3, "1", 400, 410, "03", 420, kAuto}}},
        SequenceCase{"TwoDosersInOnePollInDoserOrder",
                     {{}, {{{5, dose(1, 50, 55, 15, 57)}, {2, dose(1, 20, 22, 12, 27)}}}},
                     {{1, "2", 20, 22, "12", 27, kAuto}, {1, "5", 50, 55, "15", 57, kAuto}}},
        SequenceCase{"ChangeDuringLinkLossRecordedAtTheFirstGoodRead",
                     {{{{3, dose(5, 1, 1, 1, 1)}}},
                      {{{3, dose(6, 60, 61, 62, 63)}}, 1, false},
                      {{{3, dose(6, 70, 71, 72, 73)}}, 1, false},
                      {}},
                     {{3, "3", 70, 71, "72", 73, kAuto}}},
        SequenceCase{"ChangeUndoneDuringLinkLossNothing",
                     {{{{4, dose(5, 1, 1, 1, 1)}}},
                      {{{4, dose(6, 60, 61, 62, 63)}}, 1, false},
                      {{{4, dose(5, 70, 71, 72, 73)}}, 1, false},
                      {}},
                     {}},
        SequenceCase{
            "WeightsAreUnsigned",
            {{}, {{{1, dose(1, 0, 0, 1, 0x2710)}, {2, dose(1, 0xFFFF, 0xFFFF, 1, 0xFFFF)}}}},
            {{1, "1", 0, 0, "01", 10000, kAuto}, {1, "2", 65535, 65535, "01", 65535, kAuto}}},
        SequenceCase{"MaterialCodeHasAtLeastTwoDigits",
                     {{},
                      {{{1, dose(1, 0, 0, 7, 0)},
                        {2, dose(1, 0, 0, 0, 0)},
                        {3, dose(1, 0, 0, 12, 0)},
                        {4, dose(1, 0, 0, 255, 0)}}}},
                     {{1, "1", 0, 0, "07", 0, kAuto},
                      {1, "2", 0, 0, "00", 0, kAuto},
                      {1, "3", 0, 0, "12", 0, kAuto},
                      {1, "4", 0, 0, "255", 0, kAuto}}},
        // Only bit 0 of the mode byte counts, as it is when the record is written.
        SequenceCase{"ModeBitAtWriting",
                     {{{}, 0},
                      {{{1, dose(1, 1, 1, 1, 1)}, {6, dose(1, 6, 6, 6, 6)}}, 0xFF},
                      {{{1, dose(2, 2, 2, 2, 2)}}, 0xFE},
                      {{}, 0x00, false},
                      {{{1, dose(3, 3, 3, 3, 3)}}, 0x01}},
                     {{1, "1", 1, 1, "01", 1, kAuto},
                      {1, "6", 6, 6, "06", 6, kAuto},
                      {2, "1", 2, 2, "02", 2, kManual},
                      {4, "1", 3, 3, "03", 3, kAuto}}}),
    [](const auto& info) { return info.param.name; });

// --- Days and retention ---

TEST_F(DoseRecorderTest, FirstDoseOfADayCreatesItsFileAndRetentionRunsOnlyThen)
{
    maxArhDay = 3;
    for (int d : {1, 2, 3})
        ASSERT_TRUE(putBytes(dayFile(QDate(2024, 1, d)), QByteArray("x")));
    clock.set(at(2024, 1, 4, 8, 0));
    recorder.CompleteDoza(image); // primes

    put(image, 1, dose(1, 10, 10, 1, 10));
    clock.set(at(2024, 1, 4, 8, 1));
    recorder.CompleteDoza(image);
    EXPECT_EQ(
        QDir(dir.path()).entryList({QStringLiteral("doz_*.dbf")}),
        (QStringList{QStringLiteral("doz_2024_01_02.dbf"), QStringLiteral("doz_2024_01_03.dbf"),
                     QStringLiteral("doz_2024_01_04.dbf")}));

    // A lower limit is not applied by appends to an existing file...
    maxArhDay = 2;
    put(image, 1, dose(2, 20, 20, 1, 20));
    clock.set(at(2024, 1, 4, 23, 59));
    recorder.CompleteDoza(image);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("doz_*.dbf")}).size(), 3);

    // ...only by the next creation, which deletes one oldest file.
    put(image, 2, dose(1, 30, 30, 1, 30));
    clock.set(at(2024, 1, 5, 0, 0, 1));
    recorder.CompleteDoza(image);
    EXPECT_EQ(
        QDir(dir.path()).entryList({QStringLiteral("doz_*.dbf")}),
        (QStringList{QStringLiteral("doz_2024_01_03.dbf"), QStringLiteral("doz_2024_01_04.dbf"),
                     QStringLiteral("doz_2024_01_05.dbf")}));
    EXPECT_EQ(engineRecords(dayFile(QDate(2024, 1, 4))).size(), 2);
    EXPECT_EQ(engineRecords(dayFile(QDate(2024, 1, 5))).size(), 1);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(DoseRecorderTest, DoseDetectedJustBeforeMidnightGoesIntoThatDaysFile)
{
    recorder.CompleteDoza(image);
    put(image, 4, dose(1, 1, 2, 3, 4));
    // Detection, then filling a moment later on the next day.
    clock.steps({at(2024, 1, 5, 23, 59, 59, 900), at(2024, 1, 6, 0, 0, 0, 100)});
    recorder.CompleteDoza(image);

    EXPECT_FALSE(QFileInfo::exists(dayFile(QDate(2024, 1, 6))));
    const auto records = engineRecords(dayFile(QDate(2024, 1, 5)));
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0][QStringLiteral("HOUR")], QStringLiteral("23"));
    EXPECT_EQ(records[0][QStringLiteral("MIN")], QStringLiteral("59"));
    EXPECT_EQ(records[0][QStringLiteral("TIME")], QStringLiteral("0:00:00"));
    EXPECT_EQ(records[0][QStringLiteral("DAT")], QStringLiteral("20240106"));
}

// --- The stored bytes, and an independent reader ---

TEST_F(DoseRecorderTest, RecordBytesAreTheClassicLayoutAndReadByDbfread)
{
    recorder.CompleteDoza(image);
    put(image, 2, dose(1, 1234, 10000, 7, 65535));
    image.mode = 0;
    clock.set(at(2024, 1, 5, 9, 5, 3));
    recorder.CompleteDoza(image);

    const QByteArray file = fileBytes(dayFile(QDate(2024, 1, 5)));
    ASSERT_EQ(file.size(), 353 + 87 + 1);
    EXPECT_EQ(file[0], '\x03');
    EXPECT_EQ(file.mid(4, 4), QByteArray("\x01\x00\x00\x00", 4));
    EXPECT_EQ(file.mid(8, 4), QByteArray("\x61\x01\x57\x00", 4)); // 353, 87
    EXPECT_EQ(file[29], '\x00');
    const struct {
        const char* name;
        char type;
        int width;
    } descriptors[] = {{"TIME", 'C', 8},     {"DAT", 'D', 8},     {"HOUR", 'N', 9},
                       {"MIN", 'N', 9},      {"DOZATOR", 'C', 5}, {"ZAD", 'N', 9},
                       {"SKOR_ZAD", 'N', 9}, {"COD_MAT", 'C', 5}, {"VES", 'N', 9},
                       {"REG_DOZ", 'C', 15}};
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const QByteArray d = file.mid(32 + 32 * i, 32);
        EXPECT_EQ(d.left(11), QByteArray(descriptors[i].name).leftJustified(11, '\0'));
        EXPECT_EQ(d[11], descriptors[i].type);
        EXPECT_EQ(int(std::uint8_t(d[16])), descriptors[i].width);
        EXPECT_EQ(d[17], '\0');
    }
    EXPECT_EQ(file[352], '\x0D');
    const QByteArray expected = QByteArray(" ") + "9:05:03 " + "20240105" + "        9" +
                                "        5" + "2    " + "     1234" + "    10000" + "07   " +
                                "    65535" + QByteArray("\x90\xE3\xE7\xAD\xAE\xA9", 6) +
                                QByteArray(9, ' ');
    EXPECT_EQ(file.mid(353, 87), expected);
    EXPECT_EQ(file.back(), '\x1A');

    QString error;
    const auto independent = dbfreadRecords(dayFile(QDate(2024, 1, 5)), &error);
    if (!independent)
        GTEST_SKIP() << "python3 with dbfread is not available";
    ASSERT_EQ(independent->size(), 1) << qPrintable(error);
    const QJsonObject r = independent->at(0).toObject();
    EXPECT_EQ(r[QStringLiteral("TIME")].toString(), QStringLiteral("9:05:03"));
    EXPECT_EQ(r[QStringLiteral("DAT")].toString(), QStringLiteral("2024-01-05"));
    EXPECT_EQ(r[QStringLiteral("HOUR")].toInt(), 9);
    EXPECT_EQ(r[QStringLiteral("MIN")].toInt(), 5);
    EXPECT_EQ(r[QStringLiteral("DOZATOR")].toString(), QStringLiteral("2"));
    EXPECT_EQ(r[QStringLiteral("ZAD")].toInt(), 1234);
    EXPECT_EQ(r[QStringLiteral("SKOR_ZAD")].toInt(), 10000);
    EXPECT_EQ(r[QStringLiteral("COD_MAT")].toString(), QStringLiteral("07"));
    EXPECT_EQ(r[QStringLiteral("VES")].toInt(), 65535);
    EXPECT_EQ(r[QStringLiteral("REG_DOZ")].toString(), QStringLiteral("Ручной"));
}

// --- Writes that fail ---

class DoseWriteFailure : public DoseRecorderTest, public ::testing::WithParamInterface<Breakage> {
protected:
    void poll(int i, std::vector<DoserBlock> blocks)
    {
        for (const DoserBlock& b : blocks)
            put(image, b.doser, b.block);
        clock.set(pollTime(i));
        EXPECT_NO_THROW(recorder.CompleteDoza(image));
    }

    QString file() const { return dayFile(pollTime(0).date()); }
};

TEST_P(DoseWriteFailure, NoFinishedDoseIsLostAndEachFailureIsReportedOnce)
{
    for (int k = 1; k <= 6; ++k)
        put(image, k, dose(1, k, k, k, k));
    poll(0, {});
    poll(1, {{1, dose(2, 11, 11, 11, 11)}});
    ASSERT_TRUE(breakFile(file(), GetParam()));

    poll(2, {{2, dose(2, 22, 22, 22, 22)}, {6, dose(0, 0, 0, 0, 0)}});
    // The other dosers are still examined while one waits.
    poll(3, {{4, dose(2, 44, 44, 44, 44)}});
    poll(4, {});
    EXPECT_EQ(reports.size(), 1);
    ASSERT_TRUE(repairFile(file(), GetParam()));

    // Doser 6 went to 0 during the failure; its copy was taken, so coming
    // back to 1 is a dose.
    poll(5, {{5, dose(2, 55, 55, 55, 55)}, {6, dose(1, 66, 66, 66, 66)}});
    poll(6, {});
    ASSERT_TRUE(breakFile(file(), GetParam()));
    poll(7, {{3, dose(2, 33, 33, 33, 33)}});
    poll(8, {});
    ASSERT_TRUE(repairFile(file(), GetParam()));
    poll(9, {});

    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("Ошибка записи протокола дозирования: ")))
        << qPrintable(reports[0]);
    const auto records = engineRecords(file());
    QStringList got;
    for (const auto& r : records)
        got << r[QStringLiteral("DOZATOR")] + u'/' + r[QStringLiteral("ZAD")] + u'/' +
                   r[QStringLiteral("MIN")] + u'/' + r[QStringLiteral("TIME")];
    // Held doses keep the minute they were found in; TIME is the write's.
    EXPECT_EQ(got,
              (QStringList{QStringLiteral("1/11/11/9:11:03"), QStringLiteral("2/22/12/9:15:03"),
                           QStringLiteral("4/44/13/9:15:03"), QStringLiteral("5/55/15/9:15:03"),
                           QStringLiteral("6/66/15/9:15:03"), QStringLiteral("3/33/17/9:19:03")}));

    // Nothing is written twice afterwards.
    poll(10, {});
    EXPECT_EQ(engineRecords(file()).size(), records.size());
}

INSTANTIATE_TEST_SUITE_P(Breakages, DoseWriteFailure,
                         ::testing::Values(Breakage::DirectoryInPlace, Breakage::DamagedHeader),
                         [](const auto& info) { return std::string(breakageName(info.param)); });

TEST_F(DoseRecorderTest, AReportThatThrowsDoesNotReachThePoll)
{
    DoseRecorder throwing(dir.path(), maxArhDay, clock,
                          [](const QString&) { throw std::runtime_error("strip"); });
    throwing.CompleteDoza(image);
    ASSERT_TRUE(QDir().mkdir(dayFile(pollTime(0).date())));
    put(image, 1, dose(1, 1, 1, 1, 1));
    EXPECT_NO_THROW(throwing.CompleteDoza(image));
    EXPECT_EQ(image.dosers[0].bytes[8], 0); // still held
}

} // namespace
