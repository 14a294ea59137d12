// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/language.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace tarvok::app {
namespace {

class LanguageFile : public ::testing::Test {
protected:
    QString write(const char* name, const QByteArray& bytes) const
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    static std::map<QString, QString> captions(const MainLanguage& lang)
    {
        return {lang.captions.begin(), lang.captions.end()};
    }

    QTemporaryDir dir;
};

TEST_F(LanguageFile, NoFileGivesEveryBuiltInText)
{
    // No language chosen: ProgramDir + separator + "" names the directory.
    const MainLanguage lang = loadMainLanguage(dir.path() + QDir::separator());
    EXPECT_EQ(mainWindowCaption(lang.windowName), QStringLiteral("Водозабор №4 v1.1 (demo)"));
    const auto c = captions(lang);
    EXPECT_EQ(c.size(), mainCaptionKeys().size());
    EXPECT_EQ(c.at(QStringLiteral("mnuExit")), QStringLiteral("Выйти из программы"));
    EXPECT_EQ(c.at(QStringLiteral("StopPanel")), QStringLiteral("Останов"));
    EXPECT_EQ(lang.texts.lngPuskPrg, QStringLiteral("Запуск программы"));
    EXPECT_EQ(lang.texts.lngRazvernut, QStringLiteral("Развернуть"));
}

TEST_F(LanguageFile, OneKeyInCapitalsWithBlanksChangesOnlyThatText)
{
    const MainLanguage lang = loadMainLanguage(write("English.ini", "[Main]\n  MNUEXIT = Exit\n"));
    const MainLanguage builtIn;
    for (const CaptionKey& key : mainCaptionKeys()) {
        const QString expected = key.name == QStringLiteral("mnuExit") ? QStringLiteral("Exit")
                                                                        : key.defaultText;
        EXPECT_EQ(captions(lang).at(key.name), expected) << key.name.toStdString();
    }
    EXPECT_EQ(mainWindowCaption(lang.windowName), QStringLiteral("Водозабор №4 v1.1 (demo)"));
    EXPECT_EQ(lang.texts.lngSviazBad, builtIn.texts.lngSviazBad);
    EXPECT_EQ(lang.texts.lngRapKalosh, builtIn.texts.lngRapKalosh);
}

TEST_F(LanguageFile, EmptyValueGivesEmptyTextAndOtherSectionsAreIgnored)
{
    const MainLanguage lang = loadMainLanguage(
        write("x.ini", "[Option]\nmnuAbout=wrong\n[Main]\nmnuAbout=\nMainFormAlb=Intake 4\n"
                       "lngError=Error\n"));
    EXPECT_EQ(captions(lang).at(QStringLiteral("mnuAbout")), QString());
    EXPECT_EQ(mainWindowCaption(lang.windowName), QStringLiteral("Intake 4 v1.1 (demo)"));
    EXPECT_EQ(lang.texts.lngError, QStringLiteral("Error"));
}

TEST_F(LanguageFile, Cp1251FileIsDecoded)
{
    // "Выход" in code page 1251, as files of existing installations hold it.
    const MainLanguage lang = loadMainLanguage(write("ru.ini", "[Main]\nmnuOut=\xC2\xFB\xF5\xEE\xE4\n"));
    EXPECT_EQ(captions(lang).at(QStringLiteral("mnuOut")), QStringLiteral("Выход"));
}

TEST_F(LanguageFile, MenuListsIniFilesSortedWithoutTheSettingsFile)
{
    write("russian.ini", "");
    write("English.ini", "");
    write("Deutsch.INI", "");
    write("notes.txt", "");
    const QString settings = write("tarvok.ini", "[Data]\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.ini")));
    EXPECT_EQ(languageFileNames(dir.path(), settings),
              (QStringList{QStringLiteral("Deutsch.INI"), QStringLiteral("English.ini"),
                           QStringLiteral("russian.ini")}));
    EXPECT_EQ(languageFileNames(dir.path(), dir.filePath(QStringLiteral("elsewhere/tarvok.ini"))).size(), 4);
}

TEST_F(LanguageFile, EmptyDirectoryListsNothing)
{
    EXPECT_TRUE(languageFileNames(dir.path(), QString()).isEmpty());
}

} // namespace
} // namespace tarvok::app
