// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tables/daily_files.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>

namespace tarvok::tables {

QString DailyFileName(const QString& prefix, const QDate& date)
{
    return QStringLiteral("%1%2_%3_%4.dbf")
        .arg(prefix)
        .arg(date.year(), 4, 10, QChar(u'0'))
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.day(), 2, 10, QChar(u'0'));
}

std::optional<QDate> DailyFileDate(const QString& prefix, const QString& fileName)
{
    const qsizetype at = prefix.size();
    if (fileName.size() < at + 10)
        return std::nullopt;
    auto number = [&](qsizetype from, int n) -> int {
        int v = 0;
        for (qsizetype i = from; i < from + n; ++i) {
            const QChar c = fileName[i];
            if (c < u'0' || c > u'9')
                return -1;
            v = v * 10 + (c.unicode() - u'0');
        }
        return v;
    };
    const int y = number(at, 4);
    const int m = number(at + 5, 2);
    const int d = number(at + 8, 2);
    if (y < 0 || m < 0 || d < 0 || !QDate::isValid(y, m, d))
        return std::nullopt;
    return QDate(y, m, d);
}

std::optional<QString> PruneDailyFiles(const QString& dir, const QString& prefix, int maxArhDay,
                                       const QString& justCreatedName)
{
    // Installations carried over from Windows may hold upper-case names.
    const QStringList names = QDir(dir).entryList({prefix + QStringLiteral("*.dbf")},
                                                  QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    int count = 0;
    QString oldest;
    QDate oldestDate;
    for (const QString& name : names) {
        const auto date = DailyFileDate(prefix, name);
        if (!date)
            continue;
        ++count;
        if (name == justCreatedName)
            continue;
        if (oldest.isEmpty() || *date < oldestDate) {
            oldest = name;
            oldestDate = *date;
        }
    }
    if (count <= maxArhDay || oldest.isEmpty())
        return std::nullopt;
    if (!QFile::remove(platform::joinPath(dir, oldest)))
        return std::nullopt;
    return oldest;
}

} // namespace tarvok::tables
