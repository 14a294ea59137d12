// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QImage>

namespace tarvok::mimic {

// The station's sprite pictures. The pipe pictures are painted on the window
// colour with their hollow insides in Teal, the colour the animation shows
// through; the motor pictures hold no Teal at all.
inline constexpr QRgb Teal = 0xFF008080u;

QImage mainTubePicture();  // 976 x 48
QImage hiTubePicture();    // 47 x 447
QImage shortTubePicture(); // 207 x 70
QImage towerPicture();     // 170 x 365
// Frame 0 and 1 differ only in the position of the fan blades.
QImage motorPicture(int frame); // 34 x 51

} // namespace tarvok::mimic
