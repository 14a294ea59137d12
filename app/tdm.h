// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "app/language.h"
#include "app/settings.h"
#include "link/controller_image.h"
#include "link/link_supervisor.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace tarvok::alarms {
class Journal;
}
namespace tarvok::archive {
class ArchiveRecorder;
}
namespace tarvok::dosing {
class DoseRecorder;
}
namespace tarvok::link {
class ControllerLink;
class TComThread;
}

namespace tarvok::app {

// What the main window needs from the controller link, as plain calls so
// that window tests can watch them. enableControllerLink() fills every
// member from the serial link and the poll thread; left empty, the program
// runs without a link. Called on the window thread only.
struct LinkHooks {
    using FollowUp = std::function<void(bool portOpen, int exchangeError)>;

    // Opens "COM" + port at speed; returns the status text to show
    // (openText, or errorText + " -1").
    std::function<QString(int port, int speed, const QString& openText, const QString& errorText)>
        openPort;
    std::function<bool()> portOpen;
    // Starts the poll thread; each step's follow-up runs on context's thread
    // and is finished before the next exchange.
    std::function<void(QObject* context, FollowUp followUp)> startPolling;
    // Asks the poll thread to stop and returns once it has ended.
    std::function<void()> stopPolling;
    std::function<void()> closePort;
};

// Run flags of one run: reset by the main window's creation before the poll
// thread's first step (which comes one DelayTime after the start).
// The link state, fail count and blink phase live in the supervisor, the
// dose completion's primed flag in the dose recorder.
struct RunState {
    bool alarmFirstPass = false; // true after the first alarm evaluation
};

// The data module: no window, created before the main window and living
// until the application ends. Owns the run's settings, ProgramDir, the
// controller image, the shared texts of section "Main", the serial link, the
// journal and the dose and archive recorders.
class TDM : public QObject {
    Q_OBJECT
public:
    using JournalObserver = std::function<void(const QString& text, int code)>;

    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }

    // The settings file; settingsFilePath() unless a test chose another.
    const QString& settingsFile() const { return settingsFile_; }
    void setSettingsFile(const QString& path) { settingsFile_ = path; }

    // The working directory at the main window's creation. Setting it opens
    // the day's journal there (the journal lives where the table files do).
    const QString& ProgramDir() const { return programDir_; }
    void setProgramDir(const QString& dir);

    link::ControllerImage& image() { return image_; }

    // Texts of section "Main" as last loaded by TMainFormAlb::LoadLanguage;
    // other windows read messages and shared captions from here.
    const MainTexts& texts() const { return texts_; }
    void setTexts(const MainTexts& texts) { texts_ = texts; }

    RunState& runState() { return runState_; }
    // Back to the start of a run: alarm first pass, first-read snapshot flag
    // and link supervision. The dose recorder primes itself on its first call.
    void resetRunState();

    // Appends an event to the day's journal: code 1 alarm raised, 0 other
    // event, 2 exit. Safe from any thread; never throws. Before ProgramDir is
    // set there is no journal and only the observer sees the entry.
    void Jurnal(const QString& text, int code);
    alarms::Journal* journal() { return journal_.get(); }
    // Sees every entry after the journal got it (tests, diagnostics). Set it
    // before the poll thread starts.
    void setJournalObserver(JournalObserver observer) { observer_ = std::move(observer); }

    // Creates the serial link and the poll thread's owner and fills the
    // link hooks from them. Without it the program runs with no port.
    void enableControllerLink();
    LinkHooks link;
    // The task transfer and the settings dialog hold the poll thread and use
    // the line themselves; null without a link or before polling started.
    link::ControllerLink* controllerLink() { return link_.get(); }
    link::TComThread* pollThread() { return pollThread_.get(); }

    // Opens "COM" + port at speed after closing any port still open; returns
    // the status-panel text (lngCOMOpen, or lngCOMError + " -1" — also when
    // there is no link at all).
    QString Initial(int port, int speed);
    bool PortOpen() const;

    link::LinkSupervisor& supervisor() { return supervisor_; }

    // The poll step's follow-up after a good read; window thread. A record
    // that cannot be written is reported through recordingTrouble().
    void CompleteDoza();
    void Arhive();

signals:
    // A journal write failed, or entries were dropped: the text belongs on
    // the event strip, not in the journal. May be emitted on the poll thread.
    void journalTrouble(const QString& message);
    // A dose or archive record could not be written (shown once per failure
    // episode). Emitted on the thread that recorded, the window thread.
    void recordingTrouble(const QString& message);

private:
    Settings settings_;
    QString settingsFile_;
    QString programDir_;
    link::ControllerImage image_;
    MainTexts texts_;
    RunState runState_;
    std::unique_ptr<alarms::Journal> journal_;
    std::unique_ptr<link::ControllerLink> link_;
    std::unique_ptr<link::TComThread> pollThread_;
    std::unique_ptr<dosing::DoseRecorder> doses_;
    std::unique_ptr<archive::ArchiveRecorder> archive_;
    link::LinkSupervisor supervisor_;
    JournalObserver observer_;
};

} // namespace tarvok::app
