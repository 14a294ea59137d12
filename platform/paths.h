// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>

namespace tarvok::platform {

// The single per-machine settings file "tarvok.ini": $TARVOK_INI when set,
// otherwise $XDG_CONFIG_HOME/tarvok.ini, falling back to ~/.config/tarvok.ini.
// Never looked for in the working directory.
QString settingsFilePath();

// The process's current working directory (becomes ProgramDir).
QString currentDirectory();

// dir + the platform's separator + name. With an empty name this names the
// directory itself, which profile reads treat as a file without keys.
QString joinPath(const QString& dir, const QString& name);

// Device behind "COM" + n: $TARVOK_COM<n> when set, otherwise /dev/ttyS<n-1>.
QString comDevicePath(int n);

} // namespace tarvok::platform
