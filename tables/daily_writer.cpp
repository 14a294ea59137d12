// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tables/daily_writer.h"

#include "platform/paths.h"
#include "tables/daily_files.h"

#include <QFileInfo>

namespace tarvok::tables {

DailyWriter::DailyWriter(QString dir, QString prefix, QList<FieldDef> fields,
                         std::function<int()> maxArhDay, const platform::Clock& clock)
    : m_dir(std::move(dir)), m_prefix(std::move(prefix)), m_fields(std::move(fields)),
      m_maxArhDay(std::move(maxArhDay)), m_table(clock)
{
}

QString DailyWriter::pathFor(const QDate& day) const
{
    return platform::joinPath(m_dir, DailyFileName(m_prefix, day));
}

MaybeError DailyWriter::append(const QDate& day, const QList<FieldValue>& values)
{
    if (day != m_day || m_path.isEmpty()) {
        m_day = day;
        m_name = DailyFileName(m_prefix, day);
        m_path = platform::joinPath(m_dir, m_name);
    }
    m_table.setPath(m_path);

    // Opening first spares a separate existence test on every append.
    MaybeError opened = m_table.open(OpenMode::ReadWrite);
    if (opened) {
        // A file of zero bytes is what a create cut short leaves; it holds no
        // records, and without this the rest of the day could not be written.
        const bool missing = opened->code == Error::Code::NotFound;
        const bool empty = opened->code == Error::Code::InvalidFile && QFileInfo(m_path).isFile() &&
                           QFileInfo(m_path).size() == 0;
        if (!missing && !empty)
            return opened;
        if (auto e = m_table.create(m_fields))
            return e;
        PruneDailyFiles(m_dir, m_prefix, m_maxArhDay ? m_maxArhDay() : 45, m_name);
        if (auto e = m_table.open(OpenMode::ReadWrite))
            return e;
    }

    m_table.beginRecord();
    MaybeError failure;
    for (int i = 0; i < values.size() && !failure; ++i) {
        const FieldValue& v = values[i];
        if (const auto* s = std::get_if<QString>(&v))
            failure = m_table.setText(i, *s);
        else if (const auto* n = std::get_if<std::int64_t>(&v))
            failure = m_table.setInteger(i, *n);
        else if (const auto* d = std::get_if<QDate>(&v))
            failure = m_table.setDate(i, *d);
    }
    if (!failure)
        failure = m_table.post();
    MaybeError closed = m_table.close();
    return failure ? failure : closed;
}

} // namespace tarvok::tables
