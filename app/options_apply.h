// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "app/settings.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QObject;

namespace tarvok::app {

// The line speeds offered by the settings dialog, in the order shown.
const QStringList& comSpeedItems();

// The port item shown for a ComPort value: 0..3, a number above 4 shows the
// last port, below 1 none (-1).
int comPortItem(int comPort);

// The speed item equal to comSpeed, or -1 when the speed is not offered.
int comSpeedItem(int comSpeed);

// Reading a number field of the dialog: digits with an optional sign, text
// that is no number reads as the lower limit. Bringing into range is what
// leaving the field does, not reading it.
int readNumberField(const QString& text, int minimum);
int clampNumberField(int value, int minimum, int maximum);

// What the dialog holds when it is applied.
struct OptionsChoice {
    int comItem = -1; // -1: no port selected
    int maxArhDay = 2;
    QString speedText; // empty: no speed selected
    int delayTime = 500;
};

// Writes ComPort, MaxArhDay, ComSpeed, DelayTime in that order. With no
// port or no speed selected (a settings file holding a value the dialog
// cannot show) that setting keeps its value instead of becoming 0 or
// failing half-way.
void applyOptions(Settings& settings, const OptionsChoice& choice);

// The port as the main window closes and reopens it after the dialog.
struct PortControl {
    virtual ~PortControl() = default;
    // Holds the poll thread between two steps, never inside an exchange.
    virtual void pausePolling() = 0;
    virtual void closePort() = 0;
    struct Opened {
        QString message; // the port-open text, or the error text, a blank and "-1"
        bool ok = false;
    };
    virtual Opened openPort(int comPort, int comSpeed) = 0;
    virtual void resumePolling() = 0;
};

inline constexpr int ReopenDelayMs = 600;
inline constexpr std::uint32_t StatusOpenColour = 0x000080;  // navy
inline constexpr std::uint32_t StatusErrorColour = 0xFF0000; // red

// Pause, close, open with the settings as they are now, resume. Polling is
// resumed also when the open fails or anything throws (which propagates).
PortControl::Opened reopenPort(PortControl& port, const Settings& settings);

// Runs a continuation after a delay without blocking the caller.
using Scheduler = std::function<void(int ms, std::function<void()> then)>;

// The after-apply sequence: after ReopenDelayMs, reopenPort() then done()
// with the result (the main window shows the message, navy when ok, red
// otherwise). Runs also when nothing was changed. The caller keeps port and
// settings alive until done() has run.
void reopenPortLater(PortControl& port, const Settings& settings, const Scheduler& schedule,
                     std::function<void(const PortControl::Opened&)> done);

// The application's scheduler: a single-shot timer on the window thread, so
// the poll thread's follow-up keeps running during the delay. Nothing runs
// if context is gone by then.
Scheduler timerScheduler(QObject* context);

} // namespace tarvok::app
