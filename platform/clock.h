// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

namespace tarvok::platform {

// Local wall-clock time (the C library's, so TZ is honoured). Recording code
// takes a Clock so that tests can set the day and the hour.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;
};

// Pins the C library's local time zone to the system's zone file when TZ is
// unset. Without it every local-time conversion re-reads /etc/localtime
// (about 2 µs each, twice per table append). Call once at start, before any
// other thread runs.
void settleLocalTimeZone();

// The process-wide system clock.
const Clock& systemClock();

// What is shown to the operator follows the system locale: its short date
// format, and its long time format without any time-zone part.
QString shownDate(const QDate& date);
QString shownTime(const QTime& time);

// What is stored in table files is always 24-hour H:mm:ss without a leading
// zero on the hour, whatever the locale: existing files hold that form and a
// 12-hour "9:05:03 PM" would not fit the 8-character field.
QString storedTime(const QTime& time);

// Accepts H:mm:ss and HH:mm:ss.
std::optional<QTime> parseStoredTime(QStringView text);

} // namespace tarvok::platform
