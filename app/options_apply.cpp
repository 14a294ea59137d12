// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/options_apply.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace tarvok::app {

const QStringList& comSpeedItems()
{
    static const QStringList items{
        QStringLiteral("110"),    QStringLiteral("300"),    QStringLiteral("600"),
        QStringLiteral("1200"),   QStringLiteral("2400"),   QStringLiteral("4800"),
        QStringLiteral("9600"),   QStringLiteral("14400"),  QStringLiteral("19200"),
        QStringLiteral("38400"),  QStringLiteral("56000"),  QStringLiteral("57600"),
        QStringLiteral("115200"), QStringLiteral("128000"), QStringLiteral("256000")};
    return items;
}

int comPortItem(int comPort)
{
    if (comPort < 1)
        return -1;
    return std::min(comPort, 4) - 1;
}

int comSpeedItem(int comSpeed)
{
    return static_cast<int>(comSpeedItems().indexOf(QString::number(comSpeed)));
}

int readNumberField(const QString& text, int minimum)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : minimum;
}

int clampNumberField(int value, int minimum, int maximum)
{
    return std::clamp(value, minimum, maximum);
}

void applyOptions(Settings& settings, const OptionsChoice& choice)
{
    if (choice.comItem >= 0)
        settings.ComPort = choice.comItem + 1;
    settings.MaxArhDay = choice.maxArhDay;
    bool ok = false;
    const int speed = choice.speedText.toInt(&ok);
    if (ok)
        settings.ComSpeed = speed;
    settings.DelayTime = choice.delayTime;
}

PortControl::Opened reopenPort(PortControl& port, const Settings& settings)
{
    port.pausePolling();
    struct Resume {
        PortControl& port;
        ~Resume() { port.resumePolling(); }
    } resume{port};
    port.closePort();
    return port.openPort(settings.ComPort, settings.ComSpeed);
}

void reopenPortLater(PortControl& port, const Settings& settings, const Scheduler& schedule,
                     std::function<void(const PortControl::Opened&)> done)
{
    schedule(ReopenDelayMs, [&port, &settings, done = std::move(done)] {
        const PortControl::Opened opened = reopenPort(port, settings);
        if (done)
            done(opened);
    });
}

Scheduler timerScheduler(QObject* context)
{
    return [guard = QPointer<QObject>(context)](int ms, std::function<void()> then) {
        if (!guard)
            return;
        QTimer::singleShot(ms, guard.data(), std::move(then));
    };
}

} // namespace tarvok::app
