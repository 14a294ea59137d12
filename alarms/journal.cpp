// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/journal.h"

#include "platform/clock.h"

namespace tarvok::alarms {

Journal::Journal(QString programDir, std::function<int()> maxArhDay, const platform::Clock& clock)
    : m_clock(clock),
      m_writer(std::move(programDir), QStringLiteral("jur_"), fields(), std::move(maxArhDay), clock)
{
}

Journal::Journal(QString programDir, const std::atomic<int>& maxArhDay,
                 const platform::Clock& clock)
    : Journal(
          std::move(programDir), [&maxArhDay] { return maxArhDay.load(); }, clock)
{
}

QList<tables::FieldDef> Journal::fields()
{
    return {tables::textField(QStringLiteral("TIME"), 8), tables::dateField(QStringLiteral("DAT")),
            tables::textField(QStringLiteral("REC_STR"), 90),
            tables::numberField(QStringLiteral("CODZ"))};
}

QString Journal::failureText(const QString& reason)
{
    return QStringLiteral("Ошибка записи журнала событий: %1").arg(reason);
}

QString Journal::droppedText(int count)
{
    return QStringLiteral("Не записано в журнал событий: %1").arg(count);
}

void Journal::setFailureReport(FailureReport report)
{
    std::lock_guard lock(m_mutex);
    m_report = std::move(report);
}

int Journal::heldCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_held.size());
}

void Journal::writeHeld(QList<QString>& reports)
{
    // Order matters within a day's file; a file that keeps failing (say a
    // damaged file of yesterday) must not hold back the entries of another day.
    QList<QDate> failedDays;
    QString firstFailure;
    for (auto it = m_held.begin(); it != m_held.end();) {
        const QDate day = it->at.date();
        if (failedDays.contains(day)) {
            ++it;
            continue;
        }
        tables::MaybeError failure;
        try {
            failure = m_writer.append(
                day, {platform::storedTime(it->at.time()), day, it->text, std::int64_t(it->code)});
        } catch (...) {
            failure = tables::Error{tables::Error::Code::Io, QStringLiteral("unexpected failure")};
        }
        if (failure) {
            failedDays.append(day);
            if (firstFailure.isEmpty())
                firstFailure =
                    failure->message.isEmpty() ? m_writer.pathFor(day) : failure->message;
            ++it;
            continue;
        }
        it = m_held.erase(it);
    }
    if (!m_held.empty()) {
        if (!m_failureReported) {
            reports.append(failureText(firstFailure));
            m_failureReported = true;
        }
        return;
    }
    // A failure counts as over once nothing is held any more.
    if (m_failureReported) {
        m_failureReported = false;
        if (m_dropped > 0) {
            reports.append(droppedText(m_dropped));
            m_dropped = 0;
        }
    }
}

void Journal::deliver(const QList<QString>& reports) noexcept
{
    if (reports.isEmpty())
        return;
    FailureReport report;
    {
        std::lock_guard lock(m_mutex);
        report = m_report;
    }
    if (!report)
        return;
    for (const QString& r : reports) {
        try {
            report(r);
        } catch (...) {
            // A report that fails must not take the caller down with it.
        }
    }
}

void Journal::Jurnal(const QString& text, int code) noexcept
{
    QList<QString> reports;
    try {
        std::lock_guard lock(m_mutex);
        // The entry keeps the time of the call, whenever it gets written.
        Entry entry{m_clock.now(), text, code};
        // The new entry goes behind the held ones; when the bound is reached
        // the held ones get one more try first, so a passing failure that
        // just ended costs nothing.
        if (m_held.size() >= std::size_t(MaxHeldEntries))
            writeHeld(reports);
        if (m_held.size() < std::size_t(MaxHeldEntries))
            m_held.push_back(std::move(entry));
        else
            ++m_dropped;
        writeHeld(reports);
    } catch (...) {
        // Out of memory at worst; the journal is not worth stopping for.
    }
    deliver(reports);
}

bool Journal::flush() noexcept
{
    QList<QString> reports;
    bool empty = false;
    try {
        std::lock_guard lock(m_mutex);
        writeHeld(reports);
        empty = m_held.empty();
    } catch (...) {
    }
    deliver(reports);
    return empty;
}

} // namespace tarvok::alarms
