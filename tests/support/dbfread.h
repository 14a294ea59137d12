// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

// dbfread, a dBASE reader written independently of ours, is the oracle the
// table tests compare against.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace tarvok::testing {

// A python3 that has the dbfread module (Debian's python3-dbfread lives under
// /usr/bin/python3, which another python3 on PATH may shadow), or empty.
inline QString pythonWithDbfread()
{
    QStringList candidates{QStringLiteral("/usr/bin/python3")};
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (!onPath.isEmpty())
        candidates.append(onPath);
    for (const QString& py : candidates) {
        QProcess p;
        p.start(py, {QStringLiteral("-c"), QStringLiteral("import dbfread")});
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return py;
    }
    return {};
}

// tests/tables/dbfread_dump.py on a table: {"fields", "header_count",
// "records"}. An empty object when dbfread is missing or could not read it;
// its complaint goes to error.
inline QJsonObject dbfreadDump(const QString& path, QString* error = nullptr)
{
    static const QString python = pythonWithDbfread();
    if (python.isEmpty()) {
        if (error)
            *error = QStringLiteral("python3 with the dbfread module is not installed");
        return {};
    }
    QProcess p;
    p.start(python, {qEnvironmentVariable("TARVOK_SOURCE_DIR") +
                         QStringLiteral("/tests/tables/dbfread_dump.py"),
                     path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

} // namespace tarvok::testing
