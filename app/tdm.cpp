// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/tdm.h"

#include "platform/paths.h"

namespace tarvok::app {

TDM::TDM(QObject* parent)
    : QObject(parent)
    , settingsFile_(platform::settingsFilePath())
{
    setObjectName(QStringLiteral("DM"));
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
        journal_(text, code);
}

} // namespace tarvok::app
