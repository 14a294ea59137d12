// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QWidget>

namespace tarvok::app {

// The splash window of the start-up: borderless, centred, shown while the
// data module and the main window are created.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(QWidget* parent = nullptr);

    // Shows the window and paints it at once: the window loop is not running
    // yet, so nothing else would.
    void showAndPaint();

    // Keeps the window painted (moved, uncovered) for the given time; the
    // application stays responsive instead of frozen in a sleep.
    void holdFor(int milliseconds);
};

// How long the splash stays up: 3000 ms, or $TARVOK_SPLASH_MS when it holds a
// non-negative number (tests start the program many times).
int splashMilliseconds();

} // namespace tarvok::app
