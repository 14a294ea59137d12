// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/settings_file.h"

#include "platform/profile.h"

#include <array>
#include <limits>

namespace tarvok::app {
namespace {

struct IntegerKey {
    const char16_t* name;
    std::atomic<int> Settings::*field;
    int defaultValue;
};

// The order is the file's contract: it decides which message comes first
// when several values are broken.
const std::array<IntegerKey, 4> integerKeys{{
    {u"ComPort", &Settings::ComPort, 1},
    {u"MaxArhDay", &Settings::MaxArhDay, 45},
    {u"ComSpeed", &Settings::ComSpeed, 115200},
    {u"DelayTime", &Settings::DelayTime, 500},
}};

QString section() { return settingsSection(); }

} // namespace

QString settingsSection()
{
    return QStringLiteral("Data");
}

QString invalidIntegerMessage(const QString& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

std::optional<int> parseDecimal(const QString& text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

void readSettings(const QString& file, Settings& settings, const MessageReporter& report)
{
    const platform::ProfileFile profile(file);
    for (const IntegerKey& key : integerKeys) {
        const QString text =
            profile.value(section(), QString::fromUtf16(key.name), QString::number(key.defaultValue));
        const std::optional<int> value = parseDecimal(text);
        if (!value && report)
            report(invalidIntegerMessage(text));
        (settings.*key.field).store(value.value_or(key.defaultValue));
    }
    settings.Language = profile.value(section(), QStringLiteral("Language"), QString());
}

std::optional<QString> writeSettings(const QString& file, const Settings& settings)
{
    for (const IntegerKey& key : integerKeys) {
        const QString text = QString::number((settings.*key.field).load());
        if (!platform::writeProfileString(file, section(), QString::fromUtf16(key.name), text))
            return platform::profileWriteError(file);
    }
    if (!platform::writeProfileString(file, section(), QStringLiteral("Language"), settings.Language))
        return platform::profileWriteError(file);
    return std::nullopt;
}

} // namespace tarvok::app
