// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

class QWidget;

namespace tarvok::app {

// The 105 x 99 picture of the splash and about windows, decoded from the
// JPEG built into the program. Null if the embedded data is damaged.
QImage splashPicture();

// The picture and the program's name, as the splash and the about window
// both show them on their panel: Image2 (105 x 99) at (10, 8) and Label6
// "Водозабор №4" in Arial 28 pt bold with its top-left corner at labelAt.
void addNamePlate(QWidget* panel, QPoint labelAt);

void colourText(QWidget* widget, const QColor& colour);

} // namespace tarvok::app
