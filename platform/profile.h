// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>

namespace tarvok::platform {

// Sectioned key=value ("private profile") files, read and written one key at
// a time with the rules the settings and language files rely on:
//  - section and key names match without regard to case and surrounding blanks;
//  - a value's surrounding blanks are dropped; a present but empty value is "";
//  - a missing file (or a path naming a directory), section or key gives the
//    caller's default, and reading never creates anything;
//  - at most MaxValueLength characters are returned;
//  - lines starting with ';' are comments and never match.
// A file's text is UTF-8 when its bytes are valid UTF-8, otherwise code page
// 1251 (files carried over from existing installations).
inline constexpr int MaxValueLength = 2047;

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue);

// A profile file read once, for callers that look up many keys in a row (a
// window loading its texts); every lookup follows the rules above.
class ProfileFile {
public:
    explicit ProfileFile(const QString& file);
    QString value(const QString& section, const QString& key, const QString& defaultValue) const;

private:
    QString m_text; // empty for a missing file or a directory: no keys
};

// Creates file, section and key as needed and replaces the key's value; every
// other line of the file stays byte for byte as it was. Returns false when the
// write is refused (the caller reports profileWriteError()).
[[nodiscard]] bool writeProfileString(const QString& file, const QString& section,
                                      const QString& key, const QString& value);

// "Unable to write to %s" with the file name.
QString profileWriteError(const QString& file);

// Decodes a profile file's bytes by the rule above.
QString decodeProfileText(const QByteArray& bytes);

} // namespace tarvok::platform
