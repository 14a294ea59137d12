// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QString>

#include <functional>
#include <utility>

namespace tarvok::tables {

// Tells the operator about a failing daily-file writer once per failure
// episode: a write that fails every poll is one message, not one a poll; the
// next one comes only after a success.
class FailureLatch {
public:
    using Report = std::function<void(const QString& message)>;

    explicit FailureLatch(Report report = {}) : m_report(std::move(report)) {}

    void failed(const QString& message) noexcept
    {
        if (m_reported)
            return;
        m_reported = true;
        if (!m_report)
            return;
        try {
            m_report(message);
        } catch (...) {
            // The report is the application's; a fault in it must not stop
            // the poll cycle that is recording.
        }
    }

    void succeeded() noexcept { m_reported = false; }

private:
    Report m_report;
    bool m_reported = false;
};

} // namespace tarvok::tables
