// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "tables/dbf_table.h"

#include <QDate>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <variant>

namespace tarvok::platform {
class Clock;
}

namespace tarvok::tables {

// One field's value for DailyWriter::append: blank, text, integer or date.
using FieldValue = std::variant<std::monostate, QString, std::int64_t, QDate>;

// The writing side of one kind of daily file (journal, dosing protocol,
// archive): every append binds its table object to the day's file, creates
// the file with the field list and runs the retention step when it is
// missing, opens it for writing, stores one record and closes it again.
// One caller at a time: callers on several threads serialise around it.
class DailyWriter {
public:
    // maxArhDay is asked at each creation, so a changed setting applies to
    // the next new day's file.
    DailyWriter(QString dir, QString prefix, QList<FieldDef> fields, std::function<int()> maxArhDay,
                const platform::Clock& clock);

    // values are in field order; missing trailing values are blank. On a
    // value the field cannot hold nothing is stored.
    [[nodiscard]] MaybeError append(const QDate& day, const QList<FieldValue>& values);

    // Full path of the day's file.
    QString pathFor(const QDate& day) const;
    const QList<FieldDef>& fields() const { return m_fields; }
    const QString& prefix() const { return m_prefix; }

private:
    QString m_dir;
    QString m_prefix;
    QList<FieldDef> m_fields;
    std::function<int()> m_maxArhDay;
    DbfTable m_table;
    // The last day's name and path, built once per day.
    QDate m_day;
    QString m_name;
    QString m_path;
};

} // namespace tarvok::tables
