// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/tdm.h"

#include "alarms/journal.h"
#include "archive/archive_recorder.h"
#include "dosing/dose_recorder.h"
#include "link/controller_link.h"
#include "link/poll_thread.h"
#include "platform/clock.h"
#include "platform/paths.h"

namespace tarvok::app {

TDM::TDM(QObject* parent)
    : QObject(parent)
    , settingsFile_(platform::settingsFilePath())
{
    setObjectName(QStringLiteral("DM"));
}

TDM::~TDM()
{
    // The thread's follow-up refers to the window and to this module.
    if (link.stopPolling)
        link.stopPolling();
}

void TDM::setProgramDir(const QString& dir)
{
    programDir_ = dir;
    journal_ = std::make_unique<alarms::Journal>(dir, settings_.MaxArhDay, platform::systemClock());
    journal_->setFailureReport([this](const QString& message) { emit journalTrouble(message); });
    auto recordingFailed = [this](const QString& message) { emit recordingTrouble(message); };
    doses_ = std::make_unique<dosing::DoseRecorder>(dir, settings_.MaxArhDay,
                                                    platform::systemClock(), recordingFailed);
    archive_ = std::make_unique<archive::ArchiveRecorder>(dir, settings_.MaxArhDay,
                                                          platform::systemClock(), recordingFailed);
}

void TDM::enableControllerLink()
{
    if (link_)
        return;
    link_ = std::make_unique<link::ControllerLink>(image_);
    link::ControllerLink& serial = *link_;
    link.openPort = [&serial](int port, int speed, const QString& openText,
                              const QString& errorText) {
        return serial.Initial(port, speed, openText, errorText);
    };
    link.portOpen = [&serial] { return serial.PortOpen(); };
    link.closePort = [&serial] { serial.closePort(); };
    link.startPolling = [this, &serial](QObject* context, LinkHooks::FollowUp followUp) {
        pollThread_ = std::make_unique<link::TComThread>(serial, settings_.DelayTime, context,
                                                         std::move(followUp));
        pollThread_->start();
    };
    // The thread object outlives its stop: a task transfer or a port reopen
    // that was under way when the closing began may still hold and resume
    // it, which a stopped thread takes as nothing to do.
    link.stopPolling = [this] {
        if (pollThread_)
            pollThread_->stopAndWait();
    };
}

QString TDM::Initial(int port, int speed)
{
    if (!link.openPort)
        return texts_.lngCOMError + QStringLiteral(" -1");
    return link.openPort(port, speed, texts_.lngCOMOpen, texts_.lngCOMError);
}

bool TDM::PortOpen() const
{
    return link.portOpen && link.portOpen();
}

void TDM::CompleteDoza()
{
    if (doses_)
        doses_->CompleteDoza(image_);
}

void TDM::Arhive()
{
    if (archive_)
        archive_->Arhive(image_);
}

void TDM::resetRunState()
{
    runState_ = RunState{};
    image_.snapshotTaken = false;
    supervisor_.reset();
}

void TDM::Jurnal(const QString& text, int code)
{
    if (journal_)
        journal_->Jurnal(text, code);
    if (observer_)
        observer_(text, code);
}

} // namespace tarvok::app
