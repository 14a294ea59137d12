// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QObject>

class QSocketNotifier;

namespace tarvok::platform {

// Turns SIGTERM and SIGINT into a Qt signal on the thread that owns this
// object (the window thread), so that a session manager's or service tool's
// stop runs the normal closing sequence instead of killing the process
// mid-write. The handler only writes one byte to a self-pipe; everything else
// happens in the event loop. One instance per process.
class TermSignals : public QObject {
    Q_OBJECT
public:
    explicit TermSignals(QObject* parent = nullptr);
    ~TermSignals() override;

    // False when the pipe or the handlers could not be set up; the process
    // then keeps the default signal behaviour.
    bool isActive() const { return notifier_ != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void readPending();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tarvok::platform
