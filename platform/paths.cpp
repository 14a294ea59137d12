// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/paths.h"

#include <QDir>

namespace tarvok::platform {

QString settingsFilePath()
{
    const QString explicitPath = qEnvironmentVariable("TARVOK_INI");
    if (!explicitPath.isEmpty())
        return explicitPath;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/tarvok.ini");
}

QString currentDirectory()
{
    return QDir::currentPath();
}

QString joinPath(const QString& dir, const QString& name)
{
    return dir + QDir::separator() + name;
}

QString comDevicePath(int n)
{
    const QString fromEnv = qEnvironmentVariable(("TARVOK_COM" + QByteArray::number(n)).constData());
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

} // namespace tarvok::platform
