// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>
#include <atomic>

namespace tarvok::app {

// The five operating settings, as held in memory between start and close.
// The numeric ones are read by the poll thread while the settings dialog may
// change them on the window thread, so each is one atomic word.
// Language is touched on the window thread only.
struct Settings {
    std::atomic<int> ComPort{1};
    std::atomic<int> MaxArhDay{45};
    std::atomic<int> ComSpeed{115200};
    std::atomic<int> DelayTime{500};
    QString Language;
};

} // namespace tarvok::app
