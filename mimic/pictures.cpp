// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "mimic/pictures.h"

#include <QPainter>

namespace tarvok::mimic {

namespace {

const QColor Face(0xDF, 0xDF, 0xDE);
const QColor TealColor(0x00, 0x80, 0x80);

// A pipe wall six pixels thick, shaded like a round steel tube seen from the
// side; `across` runs from the outside edge of the wall inwards.
const QColor WallShade[6] = {QColor(0x40, 0x40, 0x40), QColor(0x8C, 0x8C, 0x8C),
                             QColor(0xC8, 0xC8, 0xC8), QColor(0xE8, 0xE8, 0xE8),
                             QColor(0xA0, 0xA0, 0xA0), QColor(0x60, 0x60, 0x60)};

void horizontalWall(QPainter& p, int x0, int x1, int y0, bool topWall)
{
    for (int i = 0; i < 6; ++i)
        p.fillRect(QRect(QPoint(x0, y0 + i), QPoint(x1, y0 + i)), WallShade[topWall ? i : 5 - i]);
}

void verticalWall(QPainter& p, int x0, int y0, int y1, bool leftWall)
{
    for (int i = 0; i < 6; ++i)
        p.fillRect(QRect(QPoint(x0 + i, y0), QPoint(x0 + i, y1)), WallShade[leftWall ? i : 5 - i]);
}

void fill(QPainter& p, int x0, int y0, int x1, int y1, const QColor& c)
{
    p.fillRect(QRect(QPoint(x0, y0), QPoint(x1, y1)), c);
}

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Face);
    return img;
}

} // namespace

QImage mainTubePicture()
{
    QImage img = blank(976, 48);
    QPainter p(&img);
    fill(p, 6, 6, 954, 41, TealColor);
    horizontalWall(p, 0, 960, 0, true);
    horizontalWall(p, 0, 960, 42, false);
    verticalWall(p, 0, 0, 47, true);
    verticalWall(p, 955, 0, 47, false);
    // The riser comes in from above at its right end.
    fill(p, 920, 0, 954, 5, TealColor);
    // Flange rings between the pump branches.
    for (int x = 66; x < 940; x += 76) {
        fill(p, x, 0, x + 2, 6, QColor(0x50, 0x50, 0x50));
        fill(p, x, 41, x + 2, 47, QColor(0x50, 0x50, 0x50));
    }
    return img;
}

QImage hiTubePicture()
{
    QImage img = blank(47, 447);
    QPainter p(&img);
    fill(p, 6, 9, 40, 446, TealColor);
    horizontalWall(p, 0, 46, 3, true);
    verticalWall(p, 0, 3, 446, true);
    verticalWall(p, 41, 3, 446, false);
    // Opening to the short pipe at the top left.
    fill(p, 0, 9, 5, 37, TealColor);
    for (int y = 60; y < 440; y += 76)
        fill(p, 0, y, 46, y + 2, QColor(0x50, 0x50, 0x50));
    return img;
}

QImage shortTubePicture()
{
    QImage img = blank(207, 70);
    QPainter p(&img);
    // A horizontal run from the riser that bends down into the tower.
    fill(p, 10, 10, 206, 38, TealColor);
    fill(p, 10, 10, 54, 69, TealColor);
    horizontalWall(p, 4, 206, 4, true);
    horizontalWall(p, 55, 206, 39, false);
    verticalWall(p, 4, 4, 69, true);
    verticalWall(p, 55, 39, 69, false);
    fill(p, 120, 4, 122, 44, QColor(0x50, 0x50, 0x50));
    return img;
}

QImage towerPicture()
{
    QImage img = blank(170, 365);
    QPainter p(&img);
    const QColor steel(0x70, 0x70, 0x78);
    const QColor dark(0x48, 0x48, 0x50);
    // Tank: roof with the inlet, side walls, bottom.
    fill(p, 30, 6, 140, 141, TealColor);
    fill(p, 64, 0, 108, 5, TealColor);
    horizontalWall(p, 24, 63, 0, true);
    horizontalWall(p, 109, 146, 0, true);
    verticalWall(p, 24, 0, 147, true);
    verticalWall(p, 141, 0, 147, false);
    horizontalWall(p, 24, 146, 142, false);
    // Level marks on the tank wall.
    for (int y = 30; y < 140; y += 25)
        fill(p, 24, y, 29, y + 1, QColor(0x20, 0x20, 0x20));
    // Legs, braces and the down-pipe the water falls through.
    fill(p, 28, 148, 35, 356, steel);
    fill(p, 135, 148, 142, 356, steel);
    p.setPen(QPen(dark, 2));
    for (int y = 160; y < 340; y += 60) {
        p.drawLine(36, y, 43, y + 30);
        p.drawLine(134, y, 123, y + 30);
        p.drawLine(36, y + 30, 43, y + 60);
        p.drawLine(134, y + 30, 123, y + 60);
    }
    fill(p, 50, 142, 116, 356, TealColor);
    verticalWall(p, 44, 142, 356, true);
    verticalWall(p, 117, 142, 356, false);
    // Foundation.
    fill(p, 8, 357, 161, 364, QColor(0x9A, 0x8C, 0x78));
    fill(p, 8, 357, 161, 357, QColor(0x60, 0x58, 0x48));
    return img;
}

QImage motorPicture(int frame)
{
    QImage img = blank(34, 51);
    QPainter p(&img);
    const QColor body(0x2A, 0x5D, 0xB0);
    const QColor fin(0x1A, 0x3D, 0x80);
    const QColor metal(0x90, 0x90, 0x90);
    // Fan hood with the turning blades.
    p.setPen(Qt::black);
    p.setBrush(QColor(0x70, 0x70, 0x70));
    p.drawEllipse(QRect(9, 0, 15, 14));
    p.setPen(QPen(QColor(0xF0, 0xF0, 0xF0), 2));
    if (frame == 0) {
        p.drawLine(16, 2, 16, 12);
        p.drawLine(11, 7, 21, 7);
    } else {
        p.drawLine(12, 3, 20, 11);
        p.drawLine(20, 3, 12, 11);
    }
    // Body with cooling fins and the terminal box.
    fill(p, 4, 14, 29, 38, body);
    for (int y = 16; y < 38; y += 3)
        fill(p, 4, y, 29, y, fin);
    fill(p, 23, 18, 30, 25, metal);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(4, 14, 25, 24));
    // Feet, shaft and coupling down to the pump.
    fill(p, 1, 39, 32, 41, QColor(0x40, 0x40, 0x40));
    fill(p, 14, 42, 19, 50, metal);
    fill(p, 10, 45, 23, 48, QColor(0x60, 0x60, 0x60));
    return img;
}

} // namespace tarvok::mimic
