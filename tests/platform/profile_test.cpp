// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvok::platform {
namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class ProfileFile : public ::testing::Test {
protected:
    QString path(const char* name = "p.ini") const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

struct ReadCase {
    const char* name;
    QByteArray content;
    const char* section;
    const char* key;
    const char* expected; // with default "DEF"
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ProfileRead : public ProfileFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ProfileRead, FindsValueByTheMatchingRules)
{
    const ReadCase& c = GetParam();
    writeBytes(path(), c.content);
    EXPECT_EQ(readProfileString(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                QStringLiteral("DEF")),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Contents, ProfileRead,
    ::testing::Values(
        ReadCase{"exact", "[Data]\nComPort=3\n", "Data", "ComPort", "3"},
        ReadCase{"section_case_and_blanks", "  [ dATa ]  \nComPort=3\n", "Data", "ComPort", "3"},
        ReadCase{"key_case_and_blanks", "[Main]\n  MNUEXIT = Exit\n", "Main", "mnuExit", "Exit"},
        ReadCase{"value_blanks_dropped", "[Main]\nk=\t  two words  \t\n", "Main", "k", "two words"},
        ReadCase{"crlf_lines", "[Main]\r\nk=v\r\nz=w\r\n", "Main", "k", "v"},
        ReadCase{"empty_value_is_not_default", "[Main]\nk=\n", "Main", "k", ""},
        ReadCase{"missing_key", "[Main]\nother=1\n", "Main", "k", "DEF"},
        ReadCase{"missing_section", "[Other]\nk=1\n", "Main", "k", "DEF"},
        ReadCase{"key_of_another_section", "[Other]\nk=1\n[Main]\nx=2\n", "Main", "k", "DEF"},
        ReadCase{"key_after_section_ends", "[Main]\nx=1\n[Next]\nk=2\n", "Main", "k", "DEF"},
        ReadCase{"key_before_any_section", "k=1\n[Main]\n", "Main", "k", "DEF"},
        ReadCase{"comment_never_matches", "[Main]\n;k=1\n", "Main", "k", "DEF"},
        ReadCase{"first_of_two_keys", "[Main]\nk=1\nk=2\n", "Main", "k", "1"},
        ReadCase{"equals_in_value", "[Main]\nk=a=b\n", "Main", "k", "a=b"},
        ReadCase{"utf8_text", "[Main]\nk=Выход\n", "Main", "k", "Выход"},
        ReadCase{"cp1251_text", "[Main]\nk=\xC2\xFB\xF5\xEE\xE4\n", "Main", "k", "Выход"},
        ReadCase{"no_final_newline", "[Main]\nk=last", "Main", "k", "last"}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST_F(ProfileFile, ReadOfMissingFileOrDirectoryGivesDefaultAndCreatesNothing)
{
    EXPECT_EQ(readProfileString(path(), QStringLiteral("Main"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_FALSE(QFile::exists(path()));
    // No language chosen: the path names the directory itself.
    EXPECT_EQ(readProfileString(dir.path() + u'/', QStringLiteral("Main"), QStringLiteral("k"),
                                QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST_F(ProfileFile, ReadIsCappedAt2047Characters)
{
    writeBytes(path(), "[Main]\nk=" + QByteArray(3000, 'x') + "\n");
    const QString value =
        readProfileString(path(), QStringLiteral("Main"), QStringLiteral("k"), QString());
    EXPECT_EQ(value.size(), 2047);
    EXPECT_EQ(MaxValueLength, 2047);
}

struct WriteCase {
    const char* name;
    QByteArray before;
    const char* section;
    const char* key;
    const char* value;
    QByteArray after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class ProfileWrite : public ProfileFile, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheKeyLine)
{
    const WriteCase& c = GetParam();
    if (!c.before.isNull())
        writeBytes(path(), c.before);
    ASSERT_TRUE(writeProfileString(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                   QString::fromUtf8(c.value)));
    EXPECT_EQ(readBytes(path()), c.after);
    EXPECT_EQ(readProfileString(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                QStringLiteral("DEF")),
              QString::fromUtf8(c.value).trimmed());
}

INSTANTIATE_TEST_SUITE_P(
    Contents, ProfileWrite,
    ::testing::Values(
        WriteCase{"creates_file", QByteArray(), "Data", "ComPort", "1", "[Data]\nComPort=1\n"},
        WriteCase{"replaces_value_keeps_neighbours",
                  "; kept comment\n[Data]\n  comport = 7  \nDelayTime=5\n\n[Other]\nx = y \n",
                  "Data", "ComPort", "2",
                  "; kept comment\n[Data]\nComPort=2\nDelayTime=5\n\n[Other]\nx = y \n"},
        WriteCase{"adds_key_at_end_of_section", "[Data]\nA=1\n\n[Other]\nB=2\n", "Data", "C", "3",
                  "[Data]\nA=1\nC=3\n\n[Other]\nB=2\n"},
        WriteCase{"adds_new_section_at_end", "[Other]\nB=2", "Data", "C", "3",
                  "[Other]\nB=2\n[Data]\nC=3\n"},
        WriteCase{"keeps_crlf_file_style", "[Data]\r\nA=1\r\n", "Data", "B", "2",
                  "[Data]\r\nA=1\r\nB=2\r\n"},
        WriteCase{"empty_value", "[Data]\nLanguage=English.ini\n", "Data", "Language", "",
                  "[Data]\nLanguage=\n"},
        WriteCase{"keeps_cp1251_file_in_cp1251", "[Main]\nk=\xC2\xFB\xF5\xEE\xE4\n", "Main", "z",
                  "Да", "[Main]\nk=\xC2\xFB\xF5\xEE\xE4\nz=\xC4\xE0\n"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

// Root bypasses permission bits, so the refusals used here are ones that no
// user can get past: the path is a directory, or lies under a regular file.
TEST_F(ProfileFile, RefusedWriteReportsFileNameAndLeavesNothing)
{
    const QString underFile = path("plain") + QStringLiteral("/tarvok.ini");
    writeBytes(path("plain"), "not a directory");
    EXPECT_FALSE(writeProfileString(underFile, QStringLiteral("Data"), QStringLiteral("k"),
                                    QStringLiteral("v")));
    EXPECT_EQ(readBytes(path("plain")), QByteArray("not a directory"));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("adir.ini")));
    EXPECT_FALSE(writeProfileString(path("adir.ini"), QStringLiteral("Data"), QStringLiteral("k"),
                                    QStringLiteral("v")));

    EXPECT_EQ(profileWriteError(underFile), QStringLiteral("Unable to write to ") + underFile);
}

} // namespace
} // namespace tarvok::platform
