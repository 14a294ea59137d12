// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "app/pictures.h"
#include "app/settings_file.h"
#include "app/tdm.h"

#include <QMainWindow>
#include <QRgb>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QListView;
class QMdiArea;
class QMenu;
class QToolBar;
class QToolButton;

namespace tarvok::alarms {
class AttentionOpener;
class EventStripModel;
}
namespace tarvok::tasks {
class LinkTaskPort;
class TaskTransfer;
}

namespace tarvok::app {

class AttentionButton;
class LinkPortControl;
class StatusPanel;

// The commands that open a window of their own. Each stays disabled until a
// factory for its window is registered.
enum class Command { TabZad, Mnemo, History, Jurnal, Protocol, Raport, Options };
inline constexpr int CommandCount = 7;

// Makes the window a command opens. A QWidget becomes the one child window of
// the frame; a QDialog is shown modally and freed when it is done.
using ChildFactory = std::function<QWidget*()>;

// The main window: a frame for one child window at a time, with the command
// menu and toolbar, the link status panel and the event strip. It conducts;
// the strip, the status panel, the settings file, the texts and the child
// rule live in their own classes and functions.
class TMainFormAlb : public QMainWindow {
    Q_OBJECT
public:
    static inline const QColor Background{0xA7, 0xA7, 0xD4};
    static constexpr int EventPanelCollapsed = 25;
    static constexpr int EventPanelExpanded = 57;

    // Runs FormCreate. The data module's link hooks and journal must be
    // attached before. Messages (a bad setting, a refused settings write) go
    // to report; by default a message box.
    explicit TMainFormAlb(TDM& dm, MessageReporter report = {}, QWidget* parent = nullptr);
    ~TMainFormAlb() override;

    TDM& dm() { return dm_; }

    // Puts one event on the strip (colour red #FF0000 gives a red line, any
    // other a black one) and journals it with code 1 (red) or 0. Window
    // thread only.
    void AvariaMemo(const QString& text, QRgb colour);
    alarms::EventStripModel& eventStrip() { return *strip_; }
    QListView* eventList() const { return lstAvaria_; }

    // Loads section "Main" of the language file at path into the captions and
    // the data module's shared texts.
    void LoadLanguage(const QString& path);

    void setChildFactory(Command command, ChildFactory factory);
    bool hasChildFactory(Command command) const;
    // What the command's button or menu item does. Ignored while disabled.
    void runCommand(Command command);
    // The one-child rule, for windows opened other than by a command.
    QWidget* openChild(const ChildFactory& factory);
    // Closes every child window (as the language switch does).
    bool closeChildren();
    QMdiArea* mdiArea() const { return mdi_; }

    // Stop indicator: red while the controller reports a stop.
    void setStopped(bool stopped);
    bool isStopped() const { return stopped_; }

    StatusPanel& statusPanel() { return *statPanel_; }

    bool eventPanelExpanded() const;

    void btnClearClick();
    void btnUpDownClick();
    void mnuLangClick(QAction* item);
    void mnuOptionsClick();
    // What follows an applied settings dialog: after 600 ms the poll thread
    // is held, the port closed and opened anew with the current settings,
    // the status label shows the result and polling goes on.
    void reopenPort();
    void btnAttentionClick();

    // The alarm evaluation of a good read: every changed alarm bit becomes
    // an event on the strip and in the journal.
    void VerifyAlarms();
    // What the poll thread hands over after each step, in the fixed order:
    // after a good read the alarm evaluation, dose completion, archive and
    // stop indicator; then, after every step, the link supervision with its
    // status panel and link events.
    void PollStepFollowUp(bool portOpen, int exchangeError);

    // Registers the windows of the workstation (mimic, task table) with
    // their commands.
    void registerWorkstationWindows();

    // ProgramDir + separator + the chosen language file.
    QString languageFilePath() const;
    // The task transfer over the controller link; null without a link.
    tasks::TaskTransfer* taskTransfer();
    alarms::AttentionOpener& attention() { return *attention_; }

signals:
    // btnAttention was clicked; the attention window answers it.
    void attentionRequested();
    // The closing sequence has completed and the window is closing; the
    // program ends here even if a tool window is still open.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildTopPanel();
    void buildEventPanel();
    QAction* addCommandItem(QMenu* menu, const char16_t* name, Picture picture, Command command,
                            int functionKey);
    QToolButton* addCommandButton(const char16_t* name, Picture picture, Command command);
    void FormCreate();
    bool FormClose();
    void buildLanguageMenu();
    void report(const QString& message);
    void putOnStrip(const QString& text, QRgb colour);

    TDM& dm_;
    MessageReporter report_;
    alarms::EventStripModel* strip_ = nullptr;
    QMdiArea* mdi_ = nullptr;
    QMenu* mnuLanguage_ = nullptr;
    QFrame* topPanel_ = nullptr;
    QToolBar* toolBar2_ = nullptr;
    AttentionButton* btnAttention_ = nullptr;
    StatusPanel* statPanel_ = nullptr;
    QFrame* eventPanel_ = nullptr;
    QLabel* stopPanel_ = nullptr;
    QListView* lstAvaria_ = nullptr;
    QToolBar* toolBar1_ = nullptr;
    QToolButton* btnClear_ = nullptr;
    QToolButton* btnUpDown_ = nullptr;
    std::vector<QAction*> languageItems_;
    QAction* checkedLanguage_ = nullptr;

    struct CommandSlot {
        ChildFactory factory;
        QAction* menuItem = nullptr;
        QToolButton* button = nullptr;
    };
    std::array<CommandSlot, CommandCount> commands_{};
    bool stopped_ = false;
    bool closed_ = false;

    std::unique_ptr<alarms::AttentionOpener> attention_;
    std::unique_ptr<tasks::LinkTaskPort> taskPort_;
    std::unique_ptr<tasks::TaskTransfer> taskTransfer_;
    std::unique_ptr<LinkPortControl> portControl_;
};

} // namespace tarvok::app
