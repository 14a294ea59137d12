// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/language.h"

#include "platform/profile.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace tarvok::app {
namespace {

QString mainSection() { return QStringLiteral("Main"); }

struct TextKey {
    const char16_t* name;
    QString MainTexts::*field;
};

const std::array<TextKey, 22> textKeys{{
    {u"lngCOMOpen", &MainTexts::lngCOMOpen},
    {u"lngCOMError", &MainTexts::lngCOMError},
    {u"lngSviazGood", &MainTexts::lngSviazGood},
    {u"lngSviazBad", &MainTexts::lngSviazBad},
    {u"lngPuskPrg", &MainTexts::lngPuskPrg},
    {u"lngExitPrg", &MainTexts::lngExitPrg},
    {u"lngSvernut", &MainTexts::lngSvernut},
    {u"lngRazvernut", &MainTexts::lngRazvernut},
    {u"lngRegDozAuto", &MainTexts::lngRegDozAuto},
    {u"lngRegDozHand", &MainTexts::lngRegDozHand},
    {u"lngRegDozAll", &MainTexts::lngRegDozAll},
    {u"lngAbsent", &MainTexts::lngAbsent},
    {u"lngError", &MainTexts::lngError},
    {u"lngPreview", &MainTexts::lngPreview},
    {u"lngRapName", &MainTexts::lngRapName},
    {u"lngSmena1", &MainTexts::lngSmena1},
    {u"lngSmena2", &MainTexts::lngSmena2},
    {u"lngSmena3", &MainTexts::lngSmena3},
    {u"lngRapKodm", &MainTexts::lngRapKodm},
    {u"lngRapRegm", &MainTexts::lngRapRegm},
    {u"lngRapVVes", &MainTexts::lngRapVVes},
    {u"lngRapKalosh", &MainTexts::lngRapKalosh},
}};

} // namespace

const std::vector<CaptionKey>& mainCaptionKeys()
{
    static const std::vector<CaptionKey> keys{
        {QStringLiteral("mnuComands"), QStringLiteral("Функции")},
        {QStringLiteral("mnuTabZad"), QStringLiteral("Таблица заданий")},
        {QStringLiteral("mnuMnemo"), QStringLiteral("Мнемосхема")},
        {QStringLiteral("mnuHistory"), QStringLiteral("История")},
        {QStringLiteral("mnuJurnal"), QStringLiteral("Журнал работы")},
        {QStringLiteral("mnuProtocol"), QStringLiteral("Протокол")},
        {QStringLiteral("mnuRaport"), QStringLiteral("Рапорт")},
        {QStringLiteral("mnuService"), QStringLiteral("Сервис")},
        {QStringLiteral("mnuOptions"), QStringLiteral("Настройки...")},
        {QStringLiteral("mnuLanguage"), QStringLiteral("Язык")},
        {QStringLiteral("mnuOut"), QStringLiteral("Выход")},
        {QStringLiteral("mnuExit"), QStringLiteral("Выйти из программы")},
        {QStringLiteral("mnuHelp"), QStringLiteral("Помощь")},
        {QStringLiteral("mnuSprav"), QStringLiteral("Справка")},
        {QStringLiteral("mnuAbout"), QStringLiteral("О программе...")},
        {QStringLiteral("btnTabZad"), QStringLiteral("Таблица заданий")},
        {QStringLiteral("btnMnemo"), QStringLiteral("Мнемосхема")},
        {QStringLiteral("btnHistory"), QStringLiteral("История")},
        {QStringLiteral("btnJurnal"), QStringLiteral("Журнал работы")},
        {QStringLiteral("btnProtocol"), QStringLiteral("Протокол")},
        {QStringLiteral("btnRaport"), QStringLiteral("Рапорт")},
        {QStringLiteral("btnClear"), QStringLiteral("Очистить")},
        {QStringLiteral("btnAttention"), QStringLiteral("Внимание")},
        {QStringLiteral("StopPanel"), QStringLiteral("Останов")},
    };
    return keys;
}

MainLanguage loadMainLanguage(const QString& path)
{
    const platform::ProfileFile file(path);
    auto read = [&file](const QString& key, const QString& fallback) {
        return file.value(mainSection(), key, fallback);
    };
    MainLanguage lang;
    lang.windowName = read(QStringLiteral("MainFormAlb"), lang.windowName);
    lang.captions.reserve(mainCaptionKeys().size());
    for (const CaptionKey& key : mainCaptionKeys())
        lang.captions.emplace_back(key.name, read(key.name, key.defaultText));
    for (const TextKey& key : textKeys)
        lang.texts.*key.field = read(QString::fromUtf16(key.name), lang.texts.*key.field);
    return lang;
}

QString programVersion()
{
    return QStringLiteral("1.1 (demo)");
}

QString mainWindowCaption(const QString& windowName)
{
    return windowName + QStringLiteral(" v") + programVersion();
}

QStringList languageFileNames(const QString& dir, const QString& settingsFile)
{
    const QDir d(dir);
    const QString settingsPath = QFileInfo(settingsFile).absoluteFilePath();
    QStringList names;
    const QFileInfoList files = d.entryInfoList({QStringLiteral("*.ini")}, QDir::Files,
                                                QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& f : files) {
        if (!settingsFile.isEmpty() && f.absoluteFilePath() == settingsPath)
            continue;
        names.append(f.fileName());
    }
    return names;
}

} // namespace tarvok::app
