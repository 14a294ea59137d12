// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/splash_picture.h"

#include "platform/jpeg_image.h"

#include <QFile>

namespace tarvok::app {

QImage splashPicture()
{
    QFile file(QStringLiteral(":/tarvok/splash.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return platform::decodeJpeg(file.readAll());
}

} // namespace tarvok::app
