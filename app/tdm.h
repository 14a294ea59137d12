// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "app/language.h"
#include "app/settings.h"
#include "link/controller_image.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace tarvok::alarms {
class Journal;
}

namespace tarvok::app {

// What the main window needs from the controller link. The link supplies
// every member (ControllerLink::Initial / PortOpen / closePort and the
// TComThread start and stopAndWait); until it does they stay empty and the
// program runs without a link. Called on the window thread only.
struct LinkHooks {
    // Opens "COM" + port at speed; returns the status text to show
    // (openText, or errorText + " -1").
    std::function<QString(int port, int speed, const QString& openText, const QString& errorText)>
        openPort;
    std::function<bool()> portOpen;
    std::function<void()> startPolling;
    // Asks the poll thread to stop and returns once it has ended.
    std::function<void()> stopPolling;
    std::function<void()> closePort;
};

// Run flags of one run: reset by the main window's creation before the poll
// thread's first step (which comes one DelayTime after the start).
struct RunState {
    int linkBlinkPhase = 0;
    int alarmFirstPass = 0; // 1 after the first alarm evaluation
    int doseFirstPass = 0;  // 1 after the first dose completion check
    int linkState = 0;      // 0 not yet known, 1 good, 2 lost
    int previousLinkState = 0;
};

// The data module: no window, created before the main window and living
// until the application ends. Owns the run's settings, ProgramDir, the
// controller image, the shared texts of section "Main" and the journal.
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
    // Zeroes the run flags and the first-read snapshot flag, then lets the
    // owners of further first-run flags (alarm evaluation, dose completion,
    // link supervision) reset theirs through onResetRunState.
    void resetRunState();
    std::function<void()> onResetRunState;

    // Appends an event to the day's journal: code 1 alarm raised, 0 other
    // event, 2 exit. Safe from any thread; never throws. Before ProgramDir is
    // set there is no journal and only the observer sees the entry.
    void Jurnal(const QString& text, int code);
    alarms::Journal* journal() { return journal_.get(); }
    // Sees every entry after the journal got it (tests, diagnostics). Set it
    // before the poll thread starts.
    void setJournalObserver(JournalObserver observer) { observer_ = std::move(observer); }

    // Filled in by the controller link before the main window is created.
    LinkHooks link;

signals:
    // A journal write failed, or entries were dropped: the text belongs on
    // the event strip, not in the journal. May be emitted on the poll thread.
    void journalTrouble(const QString& message);

private:
    Settings settings_;
    QString settingsFile_;
    QString programDir_;
    link::ControllerImage image_;
    MainTexts texts_;
    RunState runState_;
    std::unique_ptr<alarms::Journal> journal_;
    JournalObserver observer_;
};

} // namespace tarvok::app
