// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

namespace tarvok::app {

// The layouts name "MS Sans Serif", which no Linux font answers to;
// fontconfig would fall back to the much wider DejaVu Sans and cut captions.
// Liberation Sans has the metrics the layouts were made with. Call before
// the first window is built. Also makes "MS Sans Serif" 8 pt the font of
// every window, as the layouts were drawn with it: dialogs and tool windows
// do not take the main window's font.
void installFontSubstitutions();

} // namespace tarvok::app
