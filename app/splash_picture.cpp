// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/splash_picture.h"

#include "platform/jpeg_image.h"

#include <QFile>
#include <QLabel>
#include <QPixmap>

namespace tarvok::app {

QImage splashPicture()
{
    QFile file(QStringLiteral(":/tarvok/splash.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return platform::decodeJpeg(file.readAll());
}

void addNamePlate(QWidget* panel, QPoint labelAt)
{
    auto* image2 = new QLabel(panel);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setGeometry(10, 8, 105, 99);
    image2->setPixmap(QPixmap::fromImage(splashPicture()));

    auto* label6 = new QLabel(QStringLiteral("Водозабор №4"), panel);
    label6->setObjectName(QStringLiteral("Label6"));
    QFont big(QStringLiteral("Arial"));
    big.setPointSize(28);
    big.setBold(true);
    label6->setFont(big);
    colourText(label6, QColor(0x43, 0x43, 0x8B));
    label6->move(labelAt);
    label6->adjustSize();
}

void colourText(QWidget* widget, const QColor& colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    widget->setPalette(pal);
}

} // namespace tarvok::app
