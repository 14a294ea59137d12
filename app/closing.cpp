// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/closing.h"

namespace tarvok::app {

std::optional<QString> runClosing(const ClosingSteps& steps)
{
    if (steps.journalExit)
        steps.journalExit();
    if (steps.saveSettings) {
        if (auto refused = steps.saveSettings())
            return refused;
    }
    if (steps.stopPollThread)
        steps.stopPollThread();
    if (steps.closePort)
        steps.closePort();
    if (steps.releaseStatusBitmap)
        steps.releaseStatusBitmap();
    return std::nullopt;
}

} // namespace tarvok::app
