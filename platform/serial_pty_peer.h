// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QByteArray>
#include <QString>

namespace tarvok::platform {

// The master end of a fresh pseudo-terminal, for playing the far end of a
// serial line in tests: the program under test opens slavePath() as its port.
class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool isOpen() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }

    bool send(const QByteArray& bytes);
    // Bytes the slave side has sent and we have not taken yet.
    int waiting() const;
    // Takes whatever has arrived.
    QByteArray takeAll();
    // Waits until at least count bytes have arrived or waitMs has passed;
    // returns what has arrived (for a pty, delivery is not instantaneous).
    int waitFor(int count, int waitMs = 2000) const;

    // The device goes away, as a pulled-out adapter does.
    void closeMaster();

private:
    int master_ = -1;
    QString slavePath_;
};

} // namespace tarvok::platform
