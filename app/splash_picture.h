// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QImage>

namespace tarvok::app {

// The 105 x 99 picture of the splash and about windows, decoded from the
// JPEG built into the program. Null if the embedded data is damaged.
QImage splashPicture();

} // namespace tarvok::app
