// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "dosing/dose_recorder.h"

#include "platform/clock.h"

#include <algorithm>

namespace tarvok::dosing {

namespace {

std::int64_t u16(const DoseRecorder::Block& b, int at)
{
    return b[at] | (b[at + 1] << 8);
}

} // namespace

DoseRecorder::DoseRecorder(QString programDir, std::function<int()> maxArhDay,
                           const platform::Clock& clock, FailureReport report)
    : m_clock(clock), m_writer(std::move(programDir), QStringLiteral("doz_"), fields(),
                               std::move(maxArhDay), clock),
      m_failures(std::move(report))
{
}

DoseRecorder::DoseRecorder(QString programDir, const std::atomic<int>& maxArhDay,
                           const platform::Clock& clock, FailureReport report)
    : DoseRecorder(
          std::move(programDir), [&maxArhDay] { return maxArhDay.load(); }, clock,
          std::move(report))
{
}

QList<tables::FieldDef> DoseRecorder::fields()
{
    using namespace tables;
    return {textField(QStringLiteral("TIME"), 8),    dateField(QStringLiteral("DAT")),
            numberField(QStringLiteral("HOUR")),     numberField(QStringLiteral("MIN")),
            textField(QStringLiteral("DOZATOR"), 5), numberField(QStringLiteral("ZAD")),
            numberField(QStringLiteral("SKOR_ZAD")), textField(QStringLiteral("COD_MAT"), 5),
            numberField(QStringLiteral("VES")),      textField(QStringLiteral("REG_DOZ"), 15)};
}

QString DoseRecorder::failureText(const QString& reason)
{
    return QStringLiteral("Ошибка записи протокола дозирования: %1").arg(reason);
}

QString DoseRecorder::modeText(std::uint8_t mode)
{
    return (mode & 1) ? QStringLiteral("Автомат") : QStringLiteral("Ручной");
}

QString DoseRecorder::materialText(std::uint8_t code)
{
    return QStringLiteral("%1").arg(code, 2, 10, QChar(u'0'));
}

void DoseRecorder::fail(const QString& reason) noexcept
{
    m_failures.failed(failureText(reason));
}

bool DoseRecorder::VerifyDoza(const QString& doser, Block current, Block previous,
                              std::uint8_t mode) noexcept
{
    try {
        if (current[0] == previous[0] || current[0] == 0) {
            m_pending.erase(doser);
            return true;
        }

        // A dose whose write failed keeps the moment it was first found, so
        // its hour, minute and day file do not depend on how long the
        // failure lasted. A different block is a later dose.
        QDateTime detectedAt = m_clock.now();
        if (auto it = m_pending.find(doser); it != m_pending.end()) {
            if (it->second.block == current)
                detectedAt = it->second.detectedAt;
            else
                m_pending.erase(it);
        }

        const QDateTime filledAt = m_clock.now();
        const tables::MaybeError failure = m_writer.append(
            detectedAt.date(),
            {platform::storedTime(filledAt.time()), filledAt.date(),
             std::int64_t(detectedAt.time().hour()), std::int64_t(detectedAt.time().minute()),
             doser, u16(current, 1), u16(current, 3), materialText(current[5]), u16(current, 6),
             modeText(mode)});
        if (failure) {
            m_pending.insert_or_assign(doser, Pending{current, detectedAt});
            fail(failure->message.isEmpty() ? m_writer.pathFor(detectedAt.date())
                                            : failure->message);
            return false;
        }
        m_pending.erase(doser);
        m_failures.succeeded();
        return true;
    } catch (...) {
        fail(QStringLiteral("непредвиденная ошибка"));
        return false;
    }
}

void DoseRecorder::CompleteDoza(link::ControllerImage& image) noexcept
{
    static const std::array<QString, 6> doserTexts{QStringLiteral("1"), QStringLiteral("2"),
                                                   QStringLiteral("3"), QStringLiteral("4"),
                                                   QStringLiteral("5"), QStringLiteral("6")};
    for (std::size_t k = 0; k < image.dosers.size(); ++k) {
        auto& bytes = image.dosers[k].bytes;
        Block current;
        Block previous;
        std::copy(bytes.begin(), bytes.begin() + 8, current.begin());
        std::copy(bytes.begin() + 8, bytes.end(), previous.begin());
        if (m_primed && !VerifyDoza(doserTexts[k], current, previous, image.mode))
            continue;
        std::copy(current.begin(), current.end(), bytes.begin() + 8);
    }
    m_primed = true;
}

} // namespace tarvok::dosing
