// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tarvok::alarms {

// Image bytes 83..88 in that order: alarm byte 0 is image byte 83.
inline constexpr int AlarmByteCount = 6;
using AlarmBytes = std::array<std::uint8_t, AlarmByteCount>;

struct AlarmEvent {
    QString text;
    bool red = false; // raise; a clear is black

    friend bool operator==(const AlarmEvent&, const AlarmEvent&) = default;
};

struct AlarmTexts {
    QString raise;
    QString clear;
};

// The fixed texts of one alarm bit (they never follow the interface
// language); nullopt for the bits that carry no alarm (byte 5, bits 5-7).
std::optional<AlarmTexts> alarmTexts(int alarmByte, int bit);

using AlarmSink = std::function<void(const AlarmEvent&)>;

// One evaluation over caller-held state, so that the state can live in the
// controller image (previousAlarmBytes) beside the bytes it is compared with.
// Events reach the sink in byte 0..5, bit 0..7 order. Before the first pass
// only set bits are raised. previous and firstPassDone are updated only after
// the last event: if the sink throws, the exception propagates and the same
// changes are found again at the next evaluation.
void evaluateAlarms(const AlarmBytes& current, AlarmBytes& previous, bool& firstPassDone,
                    const AlarmSink& sink);

// The same with its own state, zero and not yet evaluated at construction.
class AlarmEvaluator {
public:
    void evaluate(const AlarmBytes& current, const AlarmSink& sink);
    std::vector<AlarmEvent> evaluate(const AlarmBytes& current);

    const AlarmBytes& previous() const { return previous_; }
    bool firstPassDone() const { return firstPassDone_; }

private:
    AlarmBytes previous_{};
    bool firstPassDone_ = false;
};

} // namespace tarvok::alarms
