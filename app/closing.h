// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace tarvok::app {

// The steps of the main window's closing. A step left empty is skipped (a
// poll thread or a port that was never started).
struct ClosingSteps {
    std::function<void()> journalExit;                  // exit entry, journal only
    std::function<std::optional<QString>()> saveSettings; // message when refused
    std::function<void()> stopPollThread;               // request stop, await, destroy
    std::function<void()> closePort;
    std::function<void()> releaseStatusBitmap;
};

// Runs the steps in their fixed order. The journal gets the exit entry
// before anything can block on a controller that does not answer. When the
// settings cannot be written the remaining steps are not run and the message
// is returned: the window stays open, with its link still running, and the
// operator can fix the file and close again.
std::optional<QString> runClosing(const ClosingSteps& steps);

} // namespace tarvok::app
