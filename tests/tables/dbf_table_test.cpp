// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tables/dbf_table.h"

#include "tests/tables/table_test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvok::tables;
using tarvok::testing::FakeClock;
using tarvok::testing::ForeignField;
using tarvok::testing::ForeignOptions;
using tarvok::testing::foreignTable;
using tarvok::testing::readAll;
using tarvok::testing::u16At;
using tarvok::testing::u32At;
using tarvok::testing::writeAll;

namespace {

const QDateTime kJan5(QDate(2024, 1, 5), QTime(14, 5, 9));

QList<FieldDef> journalFields()
{
    return {textField(QStringLiteral("TIME"), 8), dateField(QStringLiteral("DAT")),
            textField(QStringLiteral("REC_STR"), 90), numberField(QStringLiteral("CODZ"))};
}

class DbfTableTest : public ::testing::Test {
protected:
    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Creates a journal-layout table at path and leaves it open for writing.
    void createJournal(DbfTable& t, const QString& path)
    {
        t.setPath(path);
        ASSERT_FALSE(t.create(journalFields()));
        ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    }

    void appendEntry(DbfTable& t, const QString& text, std::int64_t code)
    {
        t.beginRecord();
        ASSERT_FALSE(t.setText(u"TIME", u"14:05:09"));
        ASSERT_FALSE(t.setDate(u"DAT", QDate(2024, 1, 5)));
        ASSERT_FALSE(t.setText(u"REC_STR", text));
        ASSERT_FALSE(t.setInteger(u"CODZ", code));
        ASSERT_FALSE(t.post());
    }

    QTemporaryDir dir;
    FakeClock clock{kJan5};
};

QByteArray expectedEmptyJournal()
{
    QByteArray b(32, '\0');
    b[0] = 0x03;
    b[1] = 124;
    b[2] = 1;
    b[3] = 5;
    b[8] = char(161);
    b[10] = 116;
    const char* names[] = {"TIME", "DAT", "REC_STR", "CODZ"};
    const char types[] = {'C', 'D', 'C', 'N'};
    const int widths[] = {8, 8, 90, 9};
    for (int i = 0; i < 4; ++i) {
        QByteArray d(32, '\0');
        d.replace(0, int(qstrlen(names[i])), names[i]);
        d[11] = types[i];
        d[16] = char(widths[i]);
        b += d;
    }
    b += '\x0D';
    b += '\x1A';
    return b;
}

TEST_F(DbfTableTest, FirstJournalEntryGivesTheExactBytes)
{
    const QString path = file("jur_2024_01_05.dbf");
    DbfTable t(clock);
    t.setPath(path);
    ASSERT_FALSE(t.create(journalFields()));
    QByteArray expected = expectedEmptyJournal();
    ASSERT_EQ(readAll(path).size(), 162);
    EXPECT_EQ(readAll(path), expected);

    ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    appendEntry(t, QStringLiteral("Останов"), 1);
    ASSERT_FALSE(t.close());

    expected.chop(1);
    expected[4] = 1;
    expected += ' ';
    expected += "14:05:09";
    expected += "20240105";
    expected += QByteArray("\x8E\xE1\xE2\xA0\xAD\xAE\xA2").leftJustified(90, ' ');
    expected += "        1";
    expected += '\x1A';
    const QByteArray actual = readAll(path);
    ASSERT_EQ(actual.size(), 278);
    EXPECT_EQ(u32At(actual, 4), 1u);
    EXPECT_EQ(actual.back(), '\x1A');
    EXPECT_EQ(actual, expected);
}

TEST_F(DbfTableTest, EveryHeaderWriteStampsTheDate)
{
    const QString path = file("t.dbf");
    DbfTable t(clock);
    createJournal(t, path);
    clock.set(QDateTime(QDate(2025, 12, 31), QTime(23, 0)));
    appendEntry(t, QStringLiteral("a"), 0);
    EXPECT_EQ(readAll(path).mid(1, 3), QByteArray("\x7D\x0C\x1F"));
    clock.set(QDateTime(QDate(2026, 2, 3), QTime(0, 0, 1)));
    ASSERT_FALSE(t.close());
    EXPECT_EQ(readAll(path).mid(1, 3), QByteArray("\x7E\x02\x03"));

    // Opening for writing and closing without an append stamps it too.
    clock.set(QDateTime(QDate(2026, 3, 4), QTime(8, 0)));
    ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    ASSERT_FALSE(t.close());
    EXPECT_EQ(readAll(path).mid(1, 3), QByteArray("\x7E\x03\x04"));
    // Reading does not write.
    clock.set(QDateTime(QDate(2026, 5, 6), QTime(8, 0)));
    ASSERT_FALSE(t.open(OpenMode::Read));
    ASSERT_FALSE(t.close());
    EXPECT_EQ(readAll(path).mid(1, 3), QByteArray("\x7E\x03\x04"));
}

struct StoredInteger {
    const char* name;
    std::int64_t value;
    const char* stored; // nullptr: refused as too wide
};

class StoredIntegerTest : public DbfTableTest,
                          public ::testing::WithParamInterface<StoredInteger> {};

TEST_P(StoredIntegerTest, IsRightAlignedInNineBytesOrRefused)
{
    const auto& c = GetParam();
    const QString path = file("t.dbf");
    DbfTable t(clock);
    createJournal(t, path);
    appendEntry(t, QStringLiteral("first"), 5);
    const QByteArray before = readAll(path);

    t.beginRecord();
    const MaybeError e = t.setInteger(u"codz", c.value);
    if (!c.stored) {
        ASSERT_TRUE(e);
        EXPECT_EQ(e->code, Error::Code::ValueTooWide);
        EXPECT_TRUE(e->message.contains(u"CODZ")) << e->message.toStdString();
        // Nothing cut was left in the record buffer either.
        ASSERT_FALSE(t.post());
        ASSERT_FALSE(t.close());
        ASSERT_FALSE(t.open(OpenMode::Read));
        ASSERT_TRUE(t.goTo(1));
        EXPECT_TRUE(t.isBlank(u"CODZ"));
        return;
    }
    ASSERT_FALSE(e);
    ASSERT_FALSE(t.post());
    ASSERT_FALSE(t.close());
    const QByteArray after = readAll(path);
    EXPECT_EQ(after.mid(161 + 116 + 1 + 106, 9), QByteArray(c.stored));
    ASSERT_FALSE(t.open(OpenMode::Read));
    ASSERT_TRUE(t.goTo(1));
    EXPECT_EQ(t.integer(u"CODZ"), c.value);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredIntegerTest,
                         ::testing::Values(StoredInteger{"zero", 0, "        0"},
                                           StoredInteger{"one", 1, "        1"},
                                           StoredInteger{"twelve", 12, "       12"},
                                           StoredInteger{"negative", -5, "       -5"},
                                           StoredInteger{"nineDigits", 999999999, "999999999"},
                                           StoredInteger{"minusAndEight", -99999999, "-99999999"},
                                           StoredInteger{"tenDigits", 1000000000, nullptr},
                                           StoredInteger{"minusAndNine", -100000000, nullptr},
                                           StoredInteger{"huge", INT64_MIN, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DbfTableTest, TextIsCutToTheWidthAndReadsBackWithoutTrailingBlanks)
{
    const QString path = file("t.dbf");
    DbfTable t(clock);
    createJournal(t, path);
    const QString long95 = QString(45, QChar(u'Ж')) + QString(50, QChar(u'x'));
    appendEntry(t, long95, 0);
    appendEntry(t, QStringLiteral("  Пуск   "), 0);
    appendEntry(t, QString(), 0);
    ASSERT_FALSE(t.close());

    const QByteArray bytes = readAll(path);
    EXPECT_EQ(bytes.mid(161 + 17, 90), QByteArray(45, '\x86') + QByteArray(45, 'x'));
    EXPECT_EQ(bytes.size(), 161 + 3 * 116 + 1);

    ASSERT_FALSE(t.open(OpenMode::Read));
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.text(u"REC_STR"), long95.left(90));
    ASSERT_TRUE(t.next());
    EXPECT_EQ(t.text(u"REC_STR"), QStringLiteral("  Пуск"));
    ASSERT_TRUE(t.next());
    EXPECT_EQ(t.text(u"REC_STR"), QString());
    EXPECT_TRUE(t.isBlank(u"REC_STR"));
    EXPECT_EQ(t.date(u"DAT"), QDate(2024, 1, 5));
    EXPECT_FALSE(t.next());
    EXPECT_TRUE(t.eof());
}

TEST_F(DbfTableTest, ValuesOfTheWrongKindAndUnknownFieldsAreRefused)
{
    DbfTable t(clock);
    createJournal(t, file("t.dbf"));
    t.beginRecord();
    EXPECT_EQ(t.setInteger(u"NOPE", 1)->code, Error::Code::UnknownField);
    EXPECT_EQ(t.setDate(u"CODZ", QDate(2024, 1, 1))->code, Error::Code::TypeMismatch);
    EXPECT_EQ(t.setText(u"CODZ", u"twelve")->code, Error::Code::TypeMismatch);
    EXPECT_EQ(t.setText(u"DAT", u"5 Jan")->code, Error::Code::TypeMismatch);
    EXPECT_FALSE(t.setText(u"CODZ", u" 42 "));
    EXPECT_FALSE(t.setText(u"DAT", u"2024-02-29"));
    EXPECT_EQ(t.setDate(u"TIME", QDate(2024, 1, 1))->code, Error::Code::TypeMismatch);
    ASSERT_FALSE(t.post());
    ASSERT_FALSE(t.close());

    ASSERT_FALSE(t.open(OpenMode::Read));
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.integer(u"CODZ"), 42);
    EXPECT_EQ(t.date(u"DAT"), QDate(2024, 2, 29));
    t.beginRecord();
    EXPECT_EQ(t.setText(u"REC_STR", u"x")->code, Error::Code::ReadOnly);
    EXPECT_EQ(t.post()->code, Error::Code::ReadOnly);
    ASSERT_FALSE(t.close());
    EXPECT_EQ(t.post()->code, Error::Code::NotOpen);
}

TEST_F(DbfTableTest, UnusableFieldListsAreRefusedAtCreation)
{
    DbfTable t(clock);
    t.setPath(file("t.dbf"));
    const QList<QList<FieldDef>> bad = {
        {},
        {textField(QStringLiteral("ELEVENCHARS"), 5)},
        {textField(QString(), 5)},
        {textField(QStringLiteral("A B"), 5)},
        {textField(QStringLiteral("A"), 0)},
        {textField(QStringLiteral("A"), 5), numberField(QStringLiteral("a"))},
        {FieldDef{QStringLiteral("F"), FieldType::Float, 9, 0}},
    };
    for (const auto& fields : bad) {
        const MaybeError e = t.create(fields);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->code, Error::Code::BadFieldList);
    }
    EXPECT_FALSE(QFileInfo::exists(file("t.dbf")));

    // Undeclared widths: 8 for dates, 9 for numbers; names upper-cased.
    ASSERT_FALSE(t.create({FieldDef{QStringLiteral("when"), FieldType::Date, 0, 0},
                           FieldDef{QStringLiteral("n"), FieldType::Number, 0, 0}}));
    const QByteArray b = readAll(file("t.dbf"));
    EXPECT_EQ(b.mid(32, 5), QByteArray("WHEN\0", 5));
    EXPECT_EQ(int(b[32 + 16]), 8);
    EXPECT_EQ(int(b[64 + 16]), 9);
    EXPECT_EQ(u16At(b, 10), 18u);
    EXPECT_EQ(b.size(), 2 * 32 + 34);
}

struct ReadCase {
    const char* name;
    const char* number; // 9 bytes of an N(9) field
    std::optional<std::int64_t> integer;
    const char* date; // 8 bytes of a D field
    std::optional<QDate> expectedDate;
};

class ReadValueTest : public DbfTableTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadValueTest, StoredFormsReadAsTheirValues)
{
    const auto& c = GetParam();
    const QString path = file("t.dbf");
    ASSERT_TRUE(writeAll(
        path, foreignTable({{"N", 'N', 9}, {"D", 'D', 8}}, {QByteArray(" ") + c.number + c.date})));
    DbfTable t(clock);
    t.setPath(path);
    ASSERT_FALSE(t.open(OpenMode::Read));
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.integer(u"N"), c.integer);
    EXPECT_EQ(t.isBlank(u"N"), !c.integer.has_value());
    EXPECT_EQ(t.date(u"D"), c.expectedDate);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadValueTest,
    ::testing::Values(ReadCase{"plain", "       12", 12, "20240105", QDate(2024, 1, 5)},
                      ReadCase{"blank", "         ", std::nullopt, "        ", std::nullopt},
                      ReadCase{"leftAligned", "-7       ", -7, "19991231", QDate(1999, 12, 31)},
                      ReadCase{"decimalRoundsUp", "     12.6", 13, "20241305", QDate(1899, 12, 30)},
                      ReadCase{"decimalRoundsDown", "    -2.25", -2, "20240132",
                               QDate(1899, 12, 30)},
                      ReadCase{"notANumber", "      abc", 0, "2024ab05", QDate(1899, 12, 30)},
                      ReadCase{"leapDay", "000000042", 42, "20230229", QDate(1899, 12, 30)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DbfTableTest, AWrongCountReadsFromTheSizeAndIsCorrectedOnWrite)
{
    const QString path = file("t.dbf");
    const QByteArray original = foreignTable({{"N", 'N', 9}}, {" 1", " 2"}, {.countInHeader = 7});
    ASSERT_TRUE(writeAll(path, original));
    DbfTable t(clock);
    t.setPath(path);
    ASSERT_FALSE(t.open(OpenMode::Read));
    EXPECT_EQ(t.recordCount(), 2);
    ASSERT_FALSE(t.close());
    EXPECT_EQ(readAll(path), original);

    ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    EXPECT_EQ(u32At(readAll(path), 4), 2u);
    EXPECT_EQ(readAll(path).mid(1, 3), QByteArray("\x7C\x01\x05"));
    t.beginRecord();
    ASSERT_FALSE(t.setInteger(0, 3));
    ASSERT_FALSE(t.post());
    ASSERT_FALSE(t.close());
    const QByteArray after = readAll(path);
    EXPECT_EQ(u32At(after, 4), 3u);
    EXPECT_EQ(after.size(), 65 + 3 * 10 + 1);
}

struct Refusal {
    const char* name;
    QByteArray bytes;
    Error::Code code;
};

class RefusalTest : public DbfTableTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, IsRefusedAndLeavesTheFileAlone)
{
    const auto& c = GetParam();
    const QString path = file("t.dbf");
    ASSERT_TRUE(writeAll(path, c.bytes));
    DbfTable t(clock);
    t.setPath(path);
    for (OpenMode mode : {OpenMode::Read, OpenMode::ReadWrite}) {
        const MaybeError e = t.open(mode);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->code, c.code);
        if (c.code == Error::Code::InvalidFile) {
            EXPECT_EQ(e->message, QStringLiteral("Invalid DBF file."));
        } else {
            EXPECT_TRUE(e->message.isEmpty());
        }
        EXPECT_FALSE(t.isOpen());
        EXPECT_FALSE(t.first());
    }
    EXPECT_EQ(readAll(path), c.bytes);
}

QByteArray patched(QByteArray b, int at, char value)
{
    b[at] = value;
    return b;
}

const QByteArray kGood = foreignTable({{"A", 'C', 3}, {"N", 'N', 9}}, {" abc        1"});

INSTANTIATE_TEST_SUITE_P(
    Files, RefusalTest,
    ::testing::Values(
        Refusal{"foxProVersion", patched(kGood, 0, char(0x30)), Error::Code::InvalidFile},
        Refusal{"dBase7Version", patched(kGood, 0, 0x04), Error::Code::InvalidFile},
        Refusal{"foxProMemoVersion", patched(kGood, 0, char(0xF5)), Error::Code::InvalidFile},
        Refusal{"emptyFieldName", patched(kGood, 32, 0), Error::Code::InvalidFile},
        Refusal{"unknownType", patched(kGood, 32 + 11, 'X'), Error::Code::InvalidFile},
        Refusal{"zeroWidth", patched(kGood, 64 + 16, 0), Error::Code::InvalidFile},
        Refusal{"fieldsPastRecordLength", patched(kGood, 10, 5), Error::Code::InvalidFile},
        Refusal{"zeroHeaderLength", patched(patched(kGood, 8, 0), 9, 0), Error::Code::EmptyLayout},
        Refusal{"zeroRecordLength", patched(patched(kGood, 10, 0), 11, 0),
                Error::Code::EmptyLayout},
        Refusal{"cutInsideTheHeader", kGood.left(70), Error::Code::InvalidFile},
        Refusal{"tooShortForAHeader", QByteArray("\x03\x7C"), Error::Code::InvalidFile},
        Refusal{"emptyFile", QByteArray(), Error::Code::InvalidFile}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DbfTableTest, AMissingFileGivesTheNotFoundText)
{
    DbfTable t(clock);
    const QString path = file("jur_2024_01_05.dbf");
    t.setPath(path);
    const MaybeError e = t.open(OpenMode::Read);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->code, Error::Code::NotFound);
    EXPECT_EQ(e->message, QStringLiteral("Open: file not found: \"%1\".").arg(path));

    // A folder in the file's place is no table either.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("jur_2024_01_05.dbf")));
    EXPECT_EQ(t.open(OpenMode::ReadWrite)->code, Error::Code::Io);
}

TEST_F(DbfTableTest, FilesOfOtherWritersOpenAndAcceptAppends)
{
    // Lower-case names, a descriptor list ended early, a deleted record, no
    // end marker, a memo-flavoured dBASE III version byte.
    const QString path = file("other.dbf");
    ASSERT_TRUE(
        writeAll(path, foreignTable({{"name", 'C', 5}, {"qty", 'N', 4}},
                                    {" one     1", "*gone    2", " three  3"},
                                    {.version = 0x83, .spareDescriptors = 3, .endMarker = false})));
    DbfTable t(clock);
    t.setPath(path);
    ASSERT_FALSE(t.open(OpenMode::Read));
    ASSERT_EQ(t.fieldCount(), 2);
    EXPECT_EQ(t.fields()[0].name, QStringLiteral("NAME"));
    EXPECT_EQ(t.fieldIndex(u"Qty"), 1);
    EXPECT_EQ(t.recordCount(), 3);
    QStringList seen;
    for (bool more = t.first(); more; more = t.next())
        seen << QStringLiteral("%1=%2").arg(t.text(u"name")).arg(*t.integer(u"QTY"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("one=1"), QStringLiteral("three=3")}));
    ASSERT_TRUE(t.goTo(1));
    EXPECT_TRUE(t.isDeleted());
    ASSERT_FALSE(t.close());

    ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    t.beginRecord();
    ASSERT_FALSE(t.setText(u"NAME", u"four"));
    ASSERT_FALSE(t.setInteger(u"qty", 4));
    ASSERT_FALSE(t.post());
    ASSERT_FALSE(t.close());
    const QByteArray b = readAll(path);
    const int headerLength = 32 + 5 * 32 + 1;
    ASSERT_EQ(b.size(), headerLength + 4 * 10 + 1);
    EXPECT_EQ(b.mid(headerLength + 30, 10), QByteArray(" four    4"));
    EXPECT_EQ(b.back(), '\x1A');
    EXPECT_EQ(u32At(b, 4), 4u);
}

TEST_F(DbfTableTest, A1251LanguageByteReadsAndWrites1251Text)
{
    const QString path = file("w.dbf");
    ASSERT_TRUE(
        writeAll(path, foreignTable({{"T", 'C', 4}}, {" \xCF\xF3\xF1\xEA"}, {.language = 0xC9})));
    DbfTable t(clock);
    t.setPath(path);
    ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.text(0), QStringLiteral("Пуск"));
    t.beginRecord();
    ASSERT_FALSE(t.setText(0, u"Стоп"));
    ASSERT_FALSE(t.post());
    ASSERT_FALSE(t.close());
    EXPECT_EQ(readAll(path).mid(65 + 5 + 1, 4), QByteArray("\xD1\xF2\xEE\xEF"));
}

TEST_F(DbfTableTest, AKilledAppendLeavesAFileThatOpensAndIsRepairedByTheNextAppend)
{
    const QString path = file("t.dbf");
    DbfTable t(clock);
    createJournal(t, path);
    for (int i = 0; i < 3; ++i)
        appendEntry(t, QStringLiteral("e%1").arg(i), i);
    ASSERT_FALSE(t.close());
    const QByteArray whole = readAll(path); // 3 records

    // Killed after the record and its 0x1A, before the header: stale count.
    {
        QByteArray stale = whole;
        stale[4] = 2;
        ASSERT_TRUE(writeAll(path, stale));
        ASSERT_FALSE(t.open(OpenMode::Read));
        EXPECT_EQ(t.recordCount(), 3);
        ASSERT_TRUE(t.goTo(2));
        EXPECT_EQ(t.text(u"REC_STR"), QStringLiteral("e2"));
        ASSERT_FALSE(t.close());
    }
    // Killed in the middle of the fourth record: a partial record, no 0x1A,
    // header still counting 3.
    for (int cut : {1, 40, 115}) {
        QByteArray partial = whole;
        partial.chop(1);
        partial += QByteArray(" 14:05:09", 9).leftJustified(cut, 'Z', true);
        ASSERT_TRUE(writeAll(path, partial));
        ASSERT_FALSE(t.open(OpenMode::Read));
        EXPECT_EQ(t.recordCount(), 3) << cut;
        EXPECT_EQ(t.visibleRecords().size(), 3) << cut;
        ASSERT_FALSE(t.close());

        ASSERT_FALSE(t.open(OpenMode::ReadWrite));
        appendEntry(t, QStringLiteral("after"), 9);
        ASSERT_FALSE(t.close());
        const QByteArray repaired = readAll(path);
        EXPECT_EQ(repaired.size(), 161 + 4 * 116 + 1) << cut;
        EXPECT_EQ(u32At(repaired, 4), 4u);
        EXPECT_EQ(repaired.left(161 + 3 * 116).mid(8), whole.left(161 + 3 * 116).mid(8));
        ASSERT_FALSE(t.open(OpenMode::Read));
        ASSERT_TRUE(t.goTo(3));
        EXPECT_EQ(t.text(u"REC_STR"), QStringLiteral("after"));
        EXPECT_EQ(t.integer(u"CODZ"), 9);
        ASSERT_FALSE(t.close());
    }
    // A close after a killed append also leaves the file ending in 0x1A.
    QByteArray partial = readAll(path);
    partial.chop(1);
    partial += "  partial";
    ASSERT_TRUE(writeAll(path, partial));
    ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    ASSERT_FALSE(t.close());
    const QByteArray closed = readAll(path);
    EXPECT_EQ(closed.size(), 161 + 4 * 116 + 1);
    EXPECT_EQ(closed.back(), '\x1A');
}

TEST_F(DbfTableTest, AReaderHoldingTheFileSeesLaterAppendsAfterRefresh)
{
    const QString path = file("t.dbf");
    DbfTable writer(clock);
    createJournal(writer, path);
    appendEntry(writer, QStringLiteral("one"), 0);
    ASSERT_FALSE(writer.close());

    DbfTable viewer(clock);
    viewer.setPath(path);
    ASSERT_FALSE(viewer.open(OpenMode::ReadWrite));
    ASSERT_TRUE(viewer.first());

    ASSERT_FALSE(writer.open(OpenMode::ReadWrite));
    appendEntry(writer, QStringLiteral("two"), 1);
    ASSERT_FALSE(writer.close());

    // The viewer's close must not take the record it did not see.
    ASSERT_FALSE(viewer.refresh());
    EXPECT_EQ(viewer.recordCount(), 2);
    ASSERT_TRUE(viewer.goTo(1));
    EXPECT_EQ(viewer.text(u"REC_STR"), QStringLiteral("two"));
    ASSERT_FALSE(viewer.close());
    const QByteArray b = readAll(path);
    EXPECT_EQ(b.size(), 161 + 2 * 116 + 1);
    EXPECT_EQ(u32At(b, 4), 2u);
}

TEST_F(DbfTableTest, TwoObjectsOpenForWritingAppendWithoutOverwritingEachOther)
{
    const QString path = file("t.dbf");
    DbfTable a(clock);
    createJournal(a, path);
    DbfTable b(clock);
    b.setPath(path);
    ASSERT_FALSE(b.open(OpenMode::ReadWrite));
    appendEntry(a, QStringLiteral("a1"), 1);
    appendEntry(b, QStringLiteral("b1"), 2);
    appendEntry(a, QStringLiteral("a2"), 3);
    ASSERT_FALSE(b.close());
    ASSERT_FALSE(a.close());

    const QByteArray bytes = readAll(path);
    EXPECT_EQ(bytes.size(), 161 + 3 * 116 + 1);
    EXPECT_EQ(u32At(bytes, 4), 3u);
    ASSERT_FALSE(a.open(OpenMode::Read));
    QStringList texts;
    for (bool more = a.first(); more; more = a.next())
        texts << a.text(u"REC_STR");
    EXPECT_EQ(texts,
              (QStringList{QStringLiteral("a1"), QStringLiteral("b1"), QStringLiteral("a2")}));
}

TEST_F(DbfTableTest, FilterAndOrderChooseTheRecordsTheCursorVisits)
{
    const QString path = file("t.dbf");
    DbfTable t(clock);
    createJournal(t, path);
    const QList<std::pair<QString, int>> rows = {{QStringLiteral("b"), 1},
                                                 {QStringLiteral("a"), 0},
                                                 {QStringLiteral("c"), 1},
                                                 {QStringLiteral("a"), 1},
                                                 {QStringLiteral("b"), 0}};
    for (const auto& [text, code] : rows)
        appendEntry(t, text, code);
    ASSERT_FALSE(t.close());

    auto visit = [](DbfTable& table) {
        QStringList out;
        for (bool more = table.first(); more; more = table.next())
            out << QStringLiteral("%1%2").arg(table.text(u"REC_STR")).arg(table.recordNumber());
        return out;
    };
    ASSERT_FALSE(t.open(OpenMode::Read));
    t.setFilter([](const DbfTable& r) { return r.integer(u"CODZ") == 1; });
    EXPECT_EQ(visit(t),
              (QStringList{QStringLiteral("b0"), QStringLiteral("c2"), QStringLiteral("a3")}));
    ASSERT_FALSE(t.setOrder(u"REC_STR"));
    EXPECT_EQ(visit(t),
              (QStringList{QStringLiteral("a3"), QStringLiteral("b0"), QStringLiteral("c2")}));
    t.setFilter({});
    // Stable: equal keys stay in file order.
    EXPECT_EQ(visit(t),
              (QStringList{QStringLiteral("a1"), QStringLiteral("a3"), QStringLiteral("b0"),
                           QStringLiteral("b4"), QStringLiteral("c2")}));
    EXPECT_EQ(t.setOrder(u"NOPE")->code, Error::Code::UnknownField);
    ASSERT_FALSE(t.setOrder(u""));
    EXPECT_EQ(t.visibleRecords(), (QList<std::int64_t>{0, 1, 2, 3, 4}));
}

TEST_F(DbfTableTest, TheIndexFlagFollowsTheIndexFile)
{
    const QString path = file("tmp.dbf");
    const QString mdx = file("tmp.mdx");
    DbfTable t(clock);
    t.setPath(path);
    ASSERT_FALSE(t.create(journalFields(), {.withIndexFile = true}));
    EXPECT_EQ(int(readAll(path)[28]), 1);
    EXPECT_TRUE(QFileInfo::exists(mdx));
    ASSERT_FALSE(t.open(OpenMode::Read));
    EXPECT_TRUE(t.indexFlag());
    ASSERT_FALSE(t.close());

    ASSERT_TRUE(QFile::remove(mdx));
    ASSERT_FALSE(t.open(OpenMode::Read));
    EXPECT_FALSE(t.indexFlag());
    ASSERT_FALSE(t.close());
    EXPECT_EQ(int(readAll(path)[28]), 1);
    ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    ASSERT_FALSE(t.close());
    EXPECT_EQ(int(readAll(path)[28]), 0);
}

} // namespace
