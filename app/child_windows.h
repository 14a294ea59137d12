// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <functional>

class QMdiArea;
class QWidget;

namespace tarvok::app {

// Closes every child window of the area, in the order they were opened, each
// through its normal close (so each frees itself). Returns false when a child
// refused to close; the others have been closed.
bool closeChildWindows(QMdiArea& area);

// The one-child rule: closes every open child, then opens the window the
// factory makes, maximised, freed when it is closed. If a child refuses to
// close, or the factory makes nothing, nothing is opened (never two
// children) and nullptr is returned.
QWidget* openChildWindow(QMdiArea& area, const std::function<QWidget*()>& factory);

} // namespace tarvok::app
