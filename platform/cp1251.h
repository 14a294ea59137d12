// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QByteArray>
#include <QString>

namespace tarvok::platform {

// Windows code page 1251. Byte 0x98 has no character and decodes to U+FFFD;
// characters 1251 cannot hold encode to '?'.
QString fromCp1251(QByteArrayView bytes);
QByteArray toCp1251(QStringView text);

} // namespace tarvok::platform
