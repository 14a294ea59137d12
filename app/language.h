// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace tarvok::app {

// "1.1 (demo)": the version shown in the window caption and the about box.
QString programVersion();

// Texts of section "Main" that are not captions of a main-window component:
// messages, events and pieces of built strings used across the program.
// Members start at the built-in Russian texts; loadMainLanguage replaces
// those its file holds.
struct MainTexts {
    QString lngCOMOpen = QStringLiteral("COM-порт открыт");
    QString lngCOMError = QStringLiteral("Ошибка COM-порта");
    QString lngSviazGood = QStringLiteral("Связь с ШУ установлена");
    QString lngSviazBad = QStringLiteral("Сбой связи с ШУ");
    QString lngPuskPrg = QStringLiteral("Запуск программы");
    QString lngExitPrg = QStringLiteral("Выход из программы");
    QString lngSvernut = QStringLiteral("Свернуть");
    QString lngRazvernut = QStringLiteral("Развернуть");
    QString lngRegDozAuto = QStringLiteral("автоматический");
    QString lngRegDozHand = QStringLiteral("ручной");
    QString lngRegDozAll = QStringLiteral("всего");
    QString lngAbsent = QStringLiteral("отсутствует");
    QString lngError = QStringLiteral("Ошибка");
    QString lngPreview = QStringLiteral("Предварительный просмотр");
    QString lngRapName = QStringLiteral("Рапорт за");
    QString lngSmena1 = QStringLiteral("1 смена с 22.00 до 06.00");
    QString lngSmena2 = QStringLiteral("2 смена с 06.00 до 14.00");
    QString lngSmena3 = QStringLiteral("3 смена с 14.00 до 22.00");
    QString lngRapKodm = QStringLiteral("Код материала");
    QString lngRapRegm = QStringLiteral("Режим работы");
    QString lngRapVVes = QStringLiteral("Отгружено, кг");
    QString lngRapKalosh = QStringLiteral("Отгружено, калош");
};

// A component name and its built-in caption.
struct CaptionKey {
    QString name;
    QString defaultText;
};

// The main-window components whose captions section "Main" sets, in file
// order, with their built-in captions.
const std::vector<CaptionKey>& mainCaptionKeys();

struct MainLanguage {
    QString windowName = QStringLiteral("Водозабор №4"); // key "MainFormAlb"
    std::vector<std::pair<QString, QString>> captions;     // component name, text
    MainTexts texts;
};

// Reads section "Main" of the language file at path. Never fails: a missing
// file (or a path naming a directory, as with no language chosen), section
// or key leaves the built-in text; a key present with an empty value gives "".
MainLanguage loadMainLanguage(const QString& path);

// The main window's title: the "MainFormAlb" text, " v", the version.
QString mainWindowCaption(const QString& windowName);

// Names of the "*.ini" files directly in dir, sorted alphabetically without
// regard to case (the order the language menu shows). A file that is the
// settings file itself is left out: it is not a language, and TARVOK_INI may
// well point into the working directory.
QStringList languageFileNames(const QString& dir, const QString& settingsFile);

} // namespace tarvok::app
