// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "link/controller_image.h"
#include "tables/daily_writer.h"
#include "tables/failure_latch.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

namespace tarvok::platform {
class Clock;
}

namespace tarvok::archive {

// The trend archive: one "arh_" daily table in the program directory, one
// record per good poll with the setpoint, corrected setpoint and weight of
// each of the six dosers.
//
// The archive is a sampled trend, so a record that cannot be written is
// dropped rather than held. The failure is reported once; a new report comes
// only after a record has been written and a write has failed again.
//
// Called by the poll step's follow-up only, one call at a time.
class ArchiveRecorder {
public:
    using FailureReport = std::function<void(const QString& message)>;

    // Image offsets of doser k's (1-6) values.
    static constexpr int setpointAt(int k) { return 3 + 3 * (k - 1); }
    static constexpr int correctedAt(int k) { return 21 + 2 * (k - 1); }
    static constexpr int weightAt(int k) { return 36 + 2 * (k - 1); }

    ArchiveRecorder(QString programDir, std::function<int()> maxArhDay,
                    const platform::Clock& clock, FailureReport report = {});
    ArchiveRecorder(QString programDir, const std::atomic<int>& maxArhDay,
                    const platform::Clock& clock, FailureReport report = {});

    // After each good read: appends one record to the file of the day read
    // first; TIME and DAT come from a second reading of the clock. False
    // when the record was dropped.
    bool Arhive(const link::ControllerImage& image) noexcept;

    // TIME C(8), DAT D(8), then ZAD1, KOR1, VES1 ... ZAD6, KOR6, VES6, N(9).
    static QList<tables::FieldDef> fields();
    static QString failureText(const QString& reason);

private:
    void fail(const QString& reason) noexcept;

    const platform::Clock& m_clock;
    tables::DailyWriter m_writer;
    tables::FailureLatch m_failures;
};

} // namespace tarvok::archive
