// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "tables/daily_writer.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

namespace tarvok::platform {
class Clock;
}

namespace tarvok::alarms {

// The event journal: one "jur_" daily table in the program directory, one
// record (TIME, DAT, REC_STR, CODZ) per event.
//
// A write that fails never throws and never stops the caller. The entry is
// held, with its own time, and written into the file of its own day ahead of
// any later entry of that day, at the next call that can write it. A day
// whose file keeps failing does not hold back the entries of other days. At
// most MaxHeldEntries are held; later entries are dropped while the failure
// lasts. The failure is reported once through the failure report; it counts
// as over when every held entry has been written, and only a failure after
// that is reported again. When it is over, the number of entries dropped
// meanwhile, if any, is reported the same way. Reports are for the event
// strip and are not journalled.
class Journal {
public:
    static constexpr int MaxHeldEntries = 1000;

    // Called without the journal's lock held.
    using FailureReport = std::function<void(const QString& message)>;

    Journal(QString programDir, std::function<int()> maxArhDay, const platform::Clock& clock);
    Journal(QString programDir, const std::atomic<int>& maxArhDay, const platform::Clock& clock);

    void setFailureReport(FailureReport report);

    // Appends one entry: code 0 ordinary event, 1 alarm, 2 program exit. Safe
    // to call from any thread; calls never overlap.
    void Jurnal(const QString& text, int code) noexcept;

    // Tries to write the held entries without adding one. True when none is
    // left held.
    bool flush() noexcept;

    int heldCount() const;

    // TIME C(8), DAT D(8), REC_STR C(90), CODZ N(9).
    static QList<tables::FieldDef> fields();

    // The texts of the two reports.
    static QString failureText(const QString& reason);
    static QString droppedText(int count);

private:
    struct Entry {
        QDateTime at;
        QString text;
        int code;
    };

    // Tries every held entry once, in order; the lock must be held.
    void writeHeld(QList<QString>& reports);
    void deliver(const QList<QString>& reports) noexcept;

    const platform::Clock& m_clock;
    // Guards everything below: the whole bind, create, prune, append and
    // close of every entry runs under it, so callers on the poll thread and
    // on the window thread never overlap on the one table object.
    mutable std::mutex m_mutex;
    tables::DailyWriter m_writer;
    std::deque<Entry> m_held;
    int m_dropped = 0;
    bool m_failureReported = false;
    FailureReport m_report;
};

} // namespace tarvok::alarms
