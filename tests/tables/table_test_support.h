// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "platform/clock.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <mutex>

namespace tarvok::testing {

// A clock the test sets.
class FakeClock : public platform::Clock {
public:
    explicit FakeClock(QDateTime t) : m_now(std::move(t)) {}
    QDateTime now() const override
    {
        std::lock_guard lock(m_mutex);
        return m_now;
    }
    void set(const QDateTime& t)
    {
        std::lock_guard lock(m_mutex);
        m_now = t;
    }

private:
    mutable std::mutex m_mutex; // guards m_now: tests move the clock while writer threads read it
    QDateTime m_now;
};

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline unsigned u16At(const QByteArray& b, int at)
{
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

inline unsigned u32At(const QByteArray& b, int at)
{
    unsigned v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Builds the bytes of a table as another dBASE writer might have left it.
struct ForeignField {
    QByteArray name;
    char type;
    int width;
};

struct ForeignOptions {
    unsigned char version = 0x03;
    int countInHeader = -1;   // -1: the true count
    int spareDescriptors = 0; // header space for descriptors never written
    bool endMarker = true;
    unsigned char language = 0;
};

inline QByteArray foreignTable(const QList<ForeignField>& fields, const QList<QByteArray>& records,
                               const ForeignOptions& o = {})
{
    int recordLength = 1;
    for (const auto& f : fields)
        recordLength += f.width;
    const int headerLength = 32 + 32 * (static_cast<int>(fields.size()) + o.spareDescriptors) + 1;
    QByteArray b(32, '\0');
    b[0] = static_cast<char>(o.version);
    b[1] = 99;
    b[2] = 7;
    b[3] = 1;
    const int count = o.countInHeader < 0 ? static_cast<int>(records.size()) : o.countInHeader;
    for (int i = 0; i < 4; ++i)
        b[4 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
    b[8] = static_cast<char>(headerLength & 0xFF);
    b[9] = static_cast<char>(headerLength >> 8);
    b[10] = static_cast<char>(recordLength & 0xFF);
    b[11] = static_cast<char>(recordLength >> 8);
    b[29] = static_cast<char>(o.language);
    for (const auto& f : fields) {
        QByteArray d(32, '\0');
        d.replace(0, f.name.size(), f.name);
        d[11] = f.type;
        d[16] = static_cast<char>(f.width);
        b += d;
    }
    b += '\x0D';
    // What follows an early terminator is never looked at.
    b += QByteArray(32 * o.spareDescriptors, '\x55');
    for (const QByteArray& r : records) {
        QByteArray rec = r.leftJustified(recordLength, ' ', true);
        b += rec;
    }
    if (o.endMarker)
        b += '\x1A';
    return b;
}

} // namespace tarvok::testing
