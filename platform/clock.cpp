// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/clock.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace tarvok::platform {

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

void settleLocalTimeZone()
{
    static const char zoneFile[] = "/etc/localtime";
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QString::fromLatin1(zoneFile)))
        return;
    qputenv("TZ", QByteArray(":") + zoneFile);
}

const Clock& systemClock()
{
    static const Clock clock;
    return clock;
}

namespace {

QString longTimeFormatWithoutZone()
{
    QString fmt = QLocale::system().timeFormat(QLocale::LongFormat);
    // Drop every time-zone token ("t", "tt", "ttt", "tttt") and the blanks
    // around it; quoted literal text is left alone.
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt[i];
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out.append(c);
    }
    return out.simplified();
}

} // namespace

QString shownDate(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString shownTime(const QTime& time)
{
    static const QString fmt = longTimeFormatWithoutZone();
    return QLocale::system().toString(time, fmt);
}

QString storedTime(const QTime& time)
{
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour())
        .arg(time.minute(), 2, 10, QChar(u'0'))
        .arg(time.second(), 2, 10, QChar(u'0'));
}

std::optional<QTime> parseStoredTime(QStringView text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2}):(\\d{2})\\s*$"));
    const auto m = re.match(text.toString());
    if (!m.hasMatch())
        return std::nullopt;
    QTime t(m.capturedView(1).toInt(), m.capturedView(2).toInt(), m.capturedView(3).toInt());
    if (!t.isValid())
        return std::nullopt;
    return t;
}

} // namespace tarvok::platform
