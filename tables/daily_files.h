// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace tarvok::tables {

// prefix + YYYY + "_" + MM + "_" + DD + ".dbf", e.g. "jur_2024_01_05.dbf".
QString DailyFileName(const QString& prefix, const QDate& date);

// The date a daily file name carries: the four characters after the prefix
// are the year, then (one separator on) two of month and two of day.
// nullopt when they are not digits of a valid date.
std::optional<QDate> DailyFileDate(const QString& prefix, const QString& fileName);

// The retention step, run right after justCreatedName (a bare file name in
// dir) was created. Among the ordinary (not hidden) files prefix*.dbf of dir
// whose names carry a valid date, counting the new one, if there are more
// than maxArhDay, deletes the one with the earliest date (the first in name
// order among equal dates). At most one file goes per call. Names without a
// valid date are not counted and never deleted, and the file just created is
// never the one deleted, so a maxArhDay below 1 cannot take the new day's
// file away from the append that follows. A delete that fails is ignored:
// the file is counted again at the next creation.
// Returns the name of the deleted file, if any.
std::optional<QString> PruneDailyFiles(const QString& dir, const QString& prefix, int maxArhDay,
                                       const QString& justCreatedName);

} // namespace tarvok::tables
