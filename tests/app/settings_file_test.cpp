// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/settings_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvok::app {
namespace {

class SettingsFile : public ::testing::Test {
protected:
    QString file() const { return dir.filePath(QStringLiteral("tarvok.ini")); }

    void writeFile(const QByteArray& bytes) const
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray fileBytes() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Reads into fresh settings, keeping every message.
    void read()
    {
        settings.ComPort = -100;
        settings.MaxArhDay = -100;
        settings.ComSpeed = -100;
        settings.DelayTime = -100;
        settings.Language = QStringLiteral("<unset>");
        readSettings(file(), settings, [this](const QString& m) { messages.append(m); });
    }

    QTemporaryDir dir;
    Settings settings;
    QStringList messages;
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndClosingWritesAllFiveKeys)
{
    read();
    EXPECT_EQ(settings.ComPort, 1);
    EXPECT_EQ(settings.MaxArhDay, 45);
    EXPECT_EQ(settings.ComSpeed, 115200);
    EXPECT_EQ(settings.DelayTime, 500);
    EXPECT_EQ(settings.Language, QString());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(QFile::exists(file())) << "reading must create nothing";

    EXPECT_EQ(writeSettings(file(), settings), std::nullopt);
    EXPECT_EQ(fileBytes(), QByteArray("[Data]\nComPort=1\nMaxArhDay=45\nComSpeed=115200\n"
                                      "DelayTime=500\nLanguage=\n"));
}

TEST_F(SettingsFile, PartialFileKeepsOtherSectionsAndValuesAsRead)
{
    // 250000 is no speed the port applies and 0 means no pause: both are
    // kept as read and written back unchanged, as is a missing language file.
    writeFile("; site notes\n[Other]\nKeep = me\n[data]\n ComSpeed = 250000 \nDelayTime=0\n"
              "Language=Gone.ini\n\n[Tail]\nz=1\n");
    read();
    EXPECT_EQ(settings.ComPort, 1);
    EXPECT_EQ(settings.MaxArhDay, 45);
    EXPECT_EQ(settings.ComSpeed, 250000);
    EXPECT_EQ(settings.DelayTime, 0);
    EXPECT_EQ(settings.Language, QStringLiteral("Gone.ini"));

    ASSERT_EQ(writeSettings(file(), settings), std::nullopt);
    EXPECT_EQ(fileBytes(), QByteArray("; site notes\n[Other]\nKeep = me\n[data]\nComSpeed=250000\n"
                                      "DelayTime=0\nLanguage=Gone.ini\nComPort=1\nMaxArhDay=45\n\n"
                                      "[Tail]\nz=1\n"));
}

TEST_F(SettingsFile, RoundTripKeepsChangedValues)
{
    settings.ComPort = 4;
    settings.MaxArhDay = 7;
    settings.ComSpeed = 9600;
    settings.DelayTime = 1200;
    settings.Language = QStringLiteral("Українська.ini");
    ASSERT_EQ(writeSettings(file(), settings), std::nullopt);
    read();
    EXPECT_EQ(settings.ComPort, 4);
    EXPECT_EQ(settings.MaxArhDay, 7);
    EXPECT_EQ(settings.ComSpeed, 9600);
    EXPECT_EQ(settings.DelayTime, 1200);
    EXPECT_EQ(settings.Language, QStringLiteral("Українська.ini"));
}

// One typing error must not cost the rest of the start-up: the message
// names the text, that key takes its default and the keys after it are read.
TEST_F(SettingsFile, NonIntegerIsReportedAndTakesItsDefault)
{
    writeFile("[Data]\nComPort=COM2\nMaxArhDay=10\nComSpeed=0x2580\nDelayTime=250\n"
              "Language=English.ini\n");
    read();
    EXPECT_EQ(messages, (QStringList{QStringLiteral("'COM2' is not a valid integer value"),
                                     QStringLiteral("'0x2580' is not a valid integer value")}));
    EXPECT_EQ(settings.ComPort, 1);
    EXPECT_EQ(settings.MaxArhDay, 10);
    EXPECT_EQ(settings.ComSpeed, 115200);
    EXPECT_EQ(settings.DelayTime, 250);
    EXPECT_EQ(settings.Language, QStringLiteral("English.ini"));
}

TEST(ParseDecimal, AcceptsSignedDecimalWithin32Bits)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"0", 0},
        {"115200", 115200},
        {"-5", -5},
        {"+5", 5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1.5", std::nullopt},
        {"12a", std::nullopt},
        {"1 2", std::nullopt},
        {"$FF", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseDecimal(QString::fromUtf8(text)), expected) << text;
}

TEST_F(SettingsFile, RefusedWriteGivesTheMessageWithTheFileName)
{
    // A path under a regular file: refused even for root.
    writeFile("plain");
    const QString under = file() + QStringLiteral("/tarvok.ini");
    EXPECT_EQ(writeSettings(under, settings), QStringLiteral("Unable to write to ") + under);
}

} // namespace
} // namespace tarvok::app
