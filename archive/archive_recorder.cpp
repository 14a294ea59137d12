// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "archive/archive_recorder.h"

#include "platform/clock.h"

namespace tarvok::archive {

ArchiveRecorder::ArchiveRecorder(QString programDir, std::function<int()> maxArhDay,
                                 const platform::Clock& clock, FailureReport report)
    : m_clock(clock), m_writer(std::move(programDir), QStringLiteral("arh_"), fields(),
                               std::move(maxArhDay), clock),
      m_failures(std::move(report))
{
}

ArchiveRecorder::ArchiveRecorder(QString programDir, const std::atomic<int>& maxArhDay,
                                 const platform::Clock& clock, FailureReport report)
    : ArchiveRecorder(
          std::move(programDir), [&maxArhDay] { return maxArhDay.load(); }, clock,
          std::move(report))
{
}

QList<tables::FieldDef> ArchiveRecorder::fields()
{
    QList<tables::FieldDef> f{tables::textField(QStringLiteral("TIME"), 8),
                              tables::dateField(QStringLiteral("DAT"))};
    for (int k = 1; k <= 6; ++k) {
        f.append(tables::numberField(QStringLiteral("ZAD%1").arg(k)));
        f.append(tables::numberField(QStringLiteral("KOR%1").arg(k)));
        f.append(tables::numberField(QStringLiteral("VES%1").arg(k)));
    }
    return f;
}

QString ArchiveRecorder::failureText(const QString& reason)
{
    return QStringLiteral("Ошибка записи архива: %1").arg(reason);
}

void ArchiveRecorder::fail(const QString& reason) noexcept
{
    m_failures.failed(failureText(reason));
}

bool ArchiveRecorder::Arhive(const link::ControllerImage& image) noexcept
{
    try {
        const QDate day = m_clock.now().date();
        const QDateTime filledAt = m_clock.now();
        QList<tables::FieldValue> values{platform::storedTime(filledAt.time()), filledAt.date()};
        values.reserve(20);
        for (int k = 1; k <= 6; ++k) {
            values.append(std::int64_t(image.u16(setpointAt(k))));
            values.append(std::int64_t(image.u16(correctedAt(k))));
            values.append(std::int64_t(image.s16(weightAt(k))));
        }
        if (const tables::MaybeError failure = m_writer.append(day, values)) {
            fail(failure->message.isEmpty() ? m_writer.pathFor(day) : failure->message);
            return false;
        }
        m_failures.succeeded();
        return true;
    } catch (...) {
        fail(QStringLiteral("непредвиденная ошибка"));
        return false;
    }
}

} // namespace tarvok::archive
