// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "link/controller_image.h"
#include "tables/daily_writer.h"
#include "tables/failure_latch.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>

namespace tarvok::platform {
class Clock;
}

namespace tarvok::dosing {

// The dosing protocol: one "doz_" daily table in the program directory, one
// record per dose a doser finishes. A dose is finished when the marker byte
// of a doser block changes to a nonzero value against the copy taken at the
// previous good poll.
//
// A record that cannot be written is not lost: the doser's copy is left as
// it was, so the same change is found, and written, at the next poll whose
// write succeeds (with the hour and minute of its first detection, into the
// file of that detection's day). The failure is reported once; a new report
// comes only after a record has been written and a write has failed again.
//
// Called by the poll step's follow-up only, one call at a time.
class DoseRecorder {
public:
    using Block = std::array<std::uint8_t, 8>;
    using FailureReport = std::function<void(const QString& message)>;

    DoseRecorder(QString programDir, std::function<int()> maxArhDay, const platform::Clock& clock,
                 FailureReport report = {});
    DoseRecorder(QString programDir, const std::atomic<int>& maxArhDay,
                 const platform::Clock& clock, FailureReport report = {});

    // After each good read. The first call only takes the copies (bytes 8-15
    // of each doser record); later calls check dosers 1 to 6 in order and
    // take the copy of every doser whose block needed no record or whose
    // record was written.
    void CompleteDoza(link::ControllerImage& image) noexcept;

    // Writes the record of one doser's finished dose, if current shows one
    // against previous. mode is the image's mode byte (bit 0: automatic).
    // False only when a record was due and could not be written; the caller
    // then keeps the previous copy.
    bool VerifyDoza(const QString& doser, Block current, Block previous,
                    std::uint8_t mode) noexcept;

    bool primed() const { return m_primed; }

    // TIME C(8), DAT D(8), HOUR N(9), MIN N(9), DOZATOR C(5), ZAD N(9),
    // SKOR_ZAD N(9), COD_MAT C(5), VES N(9), REG_DOZ C(15).
    static QList<tables::FieldDef> fields();
    static QString failureText(const QString& reason);
    static QString modeText(std::uint8_t mode);
    static QString materialText(std::uint8_t code);

private:
    // A dose found but not yet written, with the moment it was first found.
    struct Pending {
        Block block;
        QDateTime detectedAt;
    };

    void fail(const QString& reason) noexcept;

    const platform::Clock& m_clock;
    tables::DailyWriter m_writer;
    bool m_primed = false;
    tables::FailureLatch m_failures;
    std::map<QString, Pending> m_pending;
};

} // namespace tarvok::dosing
