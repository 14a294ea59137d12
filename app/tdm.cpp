// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/tdm.h"

#include "alarms/journal.h"
#include "platform/clock.h"
#include "platform/paths.h"

namespace tarvok::app {

TDM::TDM(QObject* parent)
    : QObject(parent)
    , settingsFile_(platform::settingsFilePath())
{
    setObjectName(QStringLiteral("DM"));
}

TDM::~TDM() = default;

void TDM::setProgramDir(const QString& dir)
{
    programDir_ = dir;
    journal_ = std::make_unique<alarms::Journal>(dir, settings_.MaxArhDay, platform::systemClock());
    journal_->setFailureReport([this](const QString& message) { emit journalTrouble(message); });
}

void TDM::resetRunState()
{
    runState_ = RunState{};
    image_.snapshotTaken = false;
    if (onResetRunState)
        onResetRunState();
}

void TDM::Jurnal(const QString& text, int code)
{
    if (journal_)
        journal_->Jurnal(text, code);
    if (observer_)
        observer_(text, code);
}

} // namespace tarvok::app
