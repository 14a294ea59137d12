// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

// Helpers shared by the protocol and archive tests: a clock the test drives,
// reading a table back through the engine and through dbfread, and ways to
// make a day's file unwritable that also stop root.

#include "platform/clock.h"
#include "tables/dbf_table.h"
#include "tests/support/dbfread.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

#include <deque>
#include <mutex>
#include <ostream>
#include <optional>

namespace tarvok::testing {

// Gives the queued moments one per reading, then keeps giving the last one.
class StepClock : public platform::Clock {
public:
    explicit StepClock(QDateTime t) : m_times{std::move(t)} {}
    QDateTime now() const override
    {
        std::lock_guard lock(m_mutex);
        QDateTime t = m_times.front();
        if (m_times.size() > 1)
            m_times.pop_front();
        return t;
    }
    void set(const QDateTime& t) { steps({t}); }
    void steps(std::initializer_list<QDateTime> ts)
    {
        std::lock_guard lock(m_mutex);
        m_times.assign(ts.begin(), ts.end());
    }

private:
    mutable std::mutex m_mutex; // guards m_times
    mutable std::deque<QDateTime> m_times;
};

inline QDateTime at(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

// Every record as field name -> text the engine reads (numbers and dates as
// their stored digits, trimmed). Empty when the file does not open.
inline QList<QMap<QString, QString>> engineRecords(const QString& path)
{
    QList<QMap<QString, QString>> out;
    tables::DbfTable t;
    t.setPath(path);
    if (t.open(tables::OpenMode::Read))
        return out;
    for (bool ok = t.first(); ok; ok = t.next()) {
        QMap<QString, QString> r;
        for (int i = 0; i < t.fieldCount(); ++i)
            r.insert(t.fields()[i].name, t.text(i));
        out.append(r);
    }
    t.close();
    return out;
}

// The records as dbfread sees them, as objects of field name to value: text
// decoded from code page 866, dates as YYYY-MM-DD, numbers as numbers.
// nullopt when no dbfread is available; an empty array with a failure
// message in error when reading failed.
inline std::optional<QJsonArray> dbfreadRecords(const QString& path, QString* error = nullptr)
{
    static const bool available = !pythonWithDbfread().isEmpty();
    if (!available)
        return std::nullopt;
    const QJsonObject dump = dbfreadDump(path, error);
    const QJsonArray fields = dump.value(QStringLiteral("fields")).toArray();
    QJsonArray records;
    for (const QJsonValue& row : dump.value(QStringLiteral("records")).toArray()) {
        const QJsonArray values = row.toArray();
        QJsonObject record;
        for (qsizetype i = 0; i < fields.size() && i < values.size(); ++i)
            record.insert(fields[i].toString(), values[i]);
        records.append(record);
    }
    return records;
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool putBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Ways to make writes to a day's file fail for root as well: a directory
// where the file should be, or a header whose version byte the engine
// refuses. repair() gives back the file as it was.
enum class Breakage { DirectoryInPlace, DamagedHeader };

inline const char* breakageName(Breakage b)
{
    return b == Breakage::DirectoryInPlace ? "DirectoryInPlace" : "DamagedHeader";
}

inline void PrintTo(Breakage b, std::ostream* os)
{
    *os << breakageName(b);
}

inline bool breakFile(const QString& path, Breakage how)
{
    if (how == Breakage::DirectoryInPlace) {
        const QString aside = path + QStringLiteral(".aside");
        if (QFileInfo::exists(path) && !QFile::rename(path, aside))
            return false;
        return QDir().mkdir(path);
    }
    QByteArray bytes = fileBytes(path);
    if (bytes.isEmpty())
        return false;
    bytes[0] = 0;
    return putBytes(path, bytes);
}

inline bool repairFile(const QString& path, Breakage how)
{
    if (how == Breakage::DirectoryInPlace) {
        const QString aside = path + QStringLiteral(".aside");
        if (!QDir().rmdir(path))
            return false;
        return !QFileInfo::exists(aside) || QFile::rename(aside, path);
    }
    QByteArray bytes = fileBytes(path);
    if (bytes.isEmpty())
        return false;
    bytes[0] = 0x03;
    return putBytes(path, bytes);
}

} // namespace tarvok::testing
