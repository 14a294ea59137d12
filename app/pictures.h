// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <vector>

namespace tarvok::app {

// The roles of the main window's fourteen 16 x 16 pictures (ImageList1).
// The numbers are fixed: other windows and the link status refer to them.
enum class Picture {
    TaskTable = 0,
    Mimic = 1,
    PlugConnected = 2,
    PlugDisconnected = 3,
    Exit = 4,
    Help = 5,
    Settings = 6,
    History = 7,
    Collapse = 8,
    Expand = 9,
    Clear = 10,
    Journal = 11,
    Protocol = 12,
    Report = 13,
};
inline constexpr int PictureCount = 14;
inline constexpr int PictureSize = 16;

// Drawn in code so that nothing depends on an icon theme being installed.
// Transparent background.
QImage drawPicture(Picture role);

// All fourteen (ImageList1), drawn once, indexed by role number. Kept as
// images, not pixmaps, so the list may outlive the application object.
const std::vector<QImage>& imageList1();
QPixmap picture(Picture role);
QIcon pictureIcon(Picture role);

} // namespace tarvok::app
