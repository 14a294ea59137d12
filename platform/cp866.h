// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tarvok::platform {

// DOS code page 866, the code page of text held in table files. Every byte
// decodes to a character; characters 866 cannot hold encode to '?' (one '?'
// per character, so a surrogate pair gives one '?').
QString fromCp866(QByteArrayView bytes);
QByteArray toCp866(QStringView text);

// Appends the UTF-8 form of 866 bytes to out without going through QString;
// for tools that turn whole tables into text.
void appendUtf8FromCp866(QByteArrayView bytes, QByteArray& out);

} // namespace tarvok::platform
