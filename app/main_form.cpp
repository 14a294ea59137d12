// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/main_form.h"

#include "alarms/alarm_evaluator.h"
#include "alarms/attention_form.h"
#include "alarms/event_strip.h"
#include "app/about_box.h"
#include "app/attention_button.h"
#include "app/child_windows.h"
#include "app/closing.h"
#include "app/language.h"
#include "app/link_port_control.h"
#include "app/opt_form.h"
#include "app/options_apply.h"
#include "app/status_panel.h"
#include "link/link_supervisor.h"
#include "mimic/mnemo_form.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "tasks/link_task_port.h"
#include "tasks/table_form.h"
#include "tasks/task_transfer.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace tarvok::app {
namespace {

constexpr int TopPanelHeight = 25;

void setBackground(QWidget* w, const QColor& colour)
{
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

// A language text lands on whatever kind of component carries that name.
void setCaption(QObject* target, const QString& text)
{
    if (auto* menu = qobject_cast<QMenu*>(target))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(target))
        action->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(target))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(target))
        label->setText(text);
}

std::size_t slot(Command c) { return static_cast<std::size_t>(c); }

} // namespace

TMainFormAlb::TMainFormAlb(TDM& dm, MessageReporter report, QWidget* parent)
    : QMainWindow(parent)
    , dm_(dm)
    , report_(std::move(report))
    , strip_(new alarms::EventStripModel(this))
    , attention_(std::make_unique<alarms::AttentionOpener>([&dm] { return dm.image().attentionByte; }))
{
    setObjectName(QStringLiteral("MainFormAlb"));
    resize(866, 559);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    setFont(font);
    setBackground(this, Background);
    setWindowTitle(mainWindowCaption(MainLanguage{}.windowName));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildTopPanel();
    mdi_ = new QMdiArea(client);
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    mdi_->setBackground(Background);
    buildEventPanel();
    column->addWidget(topPanel_);
    column->addWidget(mdi_, 1);
    column->addWidget(eventPanel_);
    setCentralWidget(client);
    buildMenus();

    // Journal trouble is shown on the strip only: journalling it would fail
    // the same way. Queued, as it may be reported on the poll thread.
    connect(&dm_, &TDM::journalTrouble, this,
            [this](const QString& message) { putOnStrip(message, alarms::EventRed); },
            Qt::QueuedConnection);
    // A dose or archive record that could not be written is an alarm the
    // operator must see, and it is journalled when the journal can be.
    connect(&dm_, &TDM::recordingTrouble, this,
            [this](const QString& message) { AvariaMemo(message, alarms::EventRed); });
    connect(this, &TMainFormAlb::attentionRequested, this, &TMainFormAlb::btnAttentionClick);

    // Built-in captions first, so that a creation cut short still shows them.
    LoadLanguage(QString());
    FormCreate();
}

TMainFormAlb::~TMainFormAlb() = default;

void TMainFormAlb::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    auto* mnuComands = new QMenu(this);
    mnuComands->setObjectName(QStringLiteral("mnuComands"));
    addCommandItem(mnuComands, u"mnuTabZad", Picture::TaskTable, Command::TabZad, 1);
    addCommandItem(mnuComands, u"mnuMnemo", Picture::Mimic, Command::Mnemo, 2);
    addCommandItem(mnuComands, u"mnuHistory", Picture::History, Command::History, 3);
    addCommandItem(mnuComands, u"mnuJurnal", Picture::Journal, Command::Jurnal, 4);
    addCommandItem(mnuComands, u"mnuProtocol", Picture::Protocol, Command::Protocol, 5);
    addCommandItem(mnuComands, u"mnuRaport", Picture::Report, Command::Raport, 6);
    bar->addMenu(mnuComands);

    auto* mnuService = new QMenu(this);
    mnuService->setObjectName(QStringLiteral("mnuService"));
    // The settings dialog needs no window factory: it is always there.
    addCommandItem(mnuService, u"mnuOptions", Picture::Settings, Command::Options, 0)
        ->setEnabled(true);
    mnuLanguage_ = new QMenu(mnuService);
    mnuLanguage_->setObjectName(QStringLiteral("mnuLanguage"));
    mnuLanguage_->setEnabled(false);
    mnuService->addMenu(mnuLanguage_);
    bar->addMenu(mnuService);

    auto* mnuOut = new QMenu(this);
    mnuOut->setObjectName(QStringLiteral("mnuOut"));
    QAction* mnuExit = mnuOut->addAction(pictureIcon(Picture::Exit), QString());
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    bar->addMenu(mnuOut);

    auto* mnuHelp = new QMenu(this);
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    // Left without an action: there is no help to show.
    QAction* mnuSprav = mnuHelp->addAction(pictureIcon(Picture::Help), QString());
    mnuSprav->setObjectName(QStringLiteral("mnuSprav"));
    QAction* mnuAbout = mnuHelp->addAction(QString());
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, [this] {
        TAboutBox box(this);
        box.exec();
    });
    bar->addMenu(mnuHelp);
}

QAction* TMainFormAlb::addCommandItem(QMenu* menu, const char16_t* name, Picture picture,
                                      Command command, int functionKey)
{
    QAction* item = menu->addAction(pictureIcon(picture), QString());
    item->setObjectName(QString::fromUtf16(name));
    if (functionKey > 0)
        item->setShortcut(QKeySequence(Qt::Key_F1 + (functionKey - 1)));
    item->setEnabled(false);
    connect(item, &QAction::triggered, this, [this, command] { runCommand(command); });
    commands_[slot(command)].menuItem = item;
    return item;
}

QToolButton* TMainFormAlb::addCommandButton(const char16_t* name, Picture picture, Command command)
{
    auto* button = new QToolButton(toolBar2_);
    button->setObjectName(QString::fromUtf16(name));
    button->setIcon(pictureIcon(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setFixedWidth(115);
    button->setEnabled(false);
    connect(button, &QToolButton::clicked, this, [this, command] { runCommand(command); });
    toolBar2_->addWidget(button);
    commands_[slot(command)].button = button;
    return button;
}

void TMainFormAlb::buildTopPanel()
{
    topPanel_ = new QFrame(this);
    topPanel_->setObjectName(QStringLiteral("TopPanel"));
    topPanel_->setFixedHeight(TopPanelHeight);
    setBackground(topPanel_, Background);
    auto* row = new QHBoxLayout(topPanel_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    toolBar2_ = new QToolBar(topPanel_);
    toolBar2_->setObjectName(QStringLiteral("ToolBar2"));
    toolBar2_->setMovable(false);
    toolBar2_->setFloatable(false);
    toolBar2_->setIconSize(QSize(PictureSize, PictureSize));
    toolBar2_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar2_->setContentsMargins(0, 0, 0, 0);
    toolBar2_->layout()->setContentsMargins(0, 0, 0, 0);
    toolBar2_->layout()->setSpacing(0);
    addCommandButton(u"btnTabZad", Picture::TaskTable, Command::TabZad);
    addCommandButton(u"btnMnemo", Picture::Mimic, Command::Mnemo);
    addCommandButton(u"btnHistory", Picture::History, Command::History);
    addCommandButton(u"btnJurnal", Picture::Journal, Command::Jurnal);
    addCommandButton(u"btnProtocol", Picture::Protocol, Command::Protocol);
    addCommandButton(u"btnRaport", Picture::Report, Command::Raport);
    row->addWidget(toolBar2_);

    btnAttention_ = new AttentionButton(topPanel_);
    connect(btnAttention_, &AttentionButton::clicked, this, &TMainFormAlb::attentionRequested);
    row->addWidget(btnAttention_);
    row->addStretch(1);

    statPanel_ = new StatusPanel(topPanel_);
    row->addWidget(statPanel_);
}

void TMainFormAlb::buildEventPanel()
{
    eventPanel_ = new QFrame(this);
    eventPanel_->setObjectName(QStringLiteral("EventPanel"));
    eventPanel_->setFixedHeight(EventPanelCollapsed);
    setBackground(eventPanel_, Background);
    auto* row = new QHBoxLayout(eventPanel_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    stopPanel_ = new QLabel(eventPanel_);
    stopPanel_->setObjectName(QStringLiteral("StopPanel"));
    stopPanel_->setFixedWidth(98);
    stopPanel_->setAlignment(Qt::AlignCenter);
    stopPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFont stopFont = stopPanel_->font();
    stopFont.setPointSize(10);
    stopFont.setBold(true);
    stopPanel_->setFont(stopFont);
    setStopped(false);
    row->addWidget(stopPanel_);

    lstAvaria_ = new QListView(eventPanel_);
    lstAvaria_->setObjectName(QStringLiteral("lstAvaria"));
    lstAvaria_->setModel(strip_);
    lstAvaria_->setItemDelegate(new alarms::EventStripDelegate(lstAvaria_));
    lstAvaria_->setFont(alarms::EventStripDelegate::lineFont());
    lstAvaria_->setUniformItemSizes(true);
    lstAvaria_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstAvaria_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstAvaria_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette listPal = lstAvaria_->palette();
    listPal.setColor(QPalette::Base, Qt::white);
    lstAvaria_->setPalette(listPal);
    row->addWidget(lstAvaria_, 1);

    toolBar1_ = new QToolBar(eventPanel_);
    toolBar1_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar1_->setMovable(false);
    toolBar1_->setFloatable(false);
    toolBar1_->setIconSize(QSize(PictureSize, PictureSize));
    toolBar1_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar1_->layout()->setContentsMargins(0, 0, 0, 0);
    toolBar1_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    btnClear_ = new QToolButton(toolBar1_);
    btnClear_->setObjectName(QStringLiteral("btnClear"));
    btnClear_->setIcon(pictureIcon(Picture::Clear));
    btnClear_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnClear_->setAutoRaise(true);
    connect(btnClear_, &QToolButton::clicked, this, &TMainFormAlb::btnClearClick);
    toolBar1_->addWidget(btnClear_);
    btnUpDown_ = new QToolButton(toolBar1_);
    btnUpDown_->setObjectName(QStringLiteral("btnUpDown"));
    btnUpDown_->setIcon(pictureIcon(Picture::Expand));
    btnUpDown_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnUpDown_->setAutoRaise(true);
    connect(btnUpDown_, &QToolButton::clicked, this, &TMainFormAlb::btnUpDownClick);
    toolBar1_->addWidget(btnUpDown_);
    row->addWidget(toolBar1_, 0, Qt::AlignTop);
}

void TMainFormAlb::report(const QString& message)
{
    if (report_)
        report_(message);
    else
        QMessageBox::critical(this, windowTitle(), message);
}

void TMainFormAlb::FormCreate()
{
    // A bad number is reported and takes its default; the creation goes on
    // so that the workstation still gets its link, journal and start event.
    readSettings(dm_.settingsFile(), dm_.settings(), [this](const QString& m) { report(m); });
    dm_.setProgramDir(platform::currentDirectory());
    statPanel_->createStatusBitmap();
    buildLanguageMenu();
    LoadLanguage(platform::joinPath(dm_.ProgramDir(), dm_.settings().Language));

    const MainTexts& texts = dm_.texts();
    // Without a controller link there is no port: say so as a failed open
    // would, in red, so that the operator does not wait for data.
    const QString portMessage =
        dm_.Initial(dm_.settings().ComPort.load(), dm_.settings().ComSpeed.load());
    const bool portOpen = dm_.PortOpen();
    // The run flags are reset before the thread exists rather than just after
    // it: with a DelayTime of 0 its first exchange starts at once.
    dm_.resetRunState();
    // The poll thread's first step comes one DelayTime later and its
    // follow-up runs on this thread, so the steps below finish before it.
    if (dm_.link.startPolling)
        dm_.link.startPolling(this, [this](bool open, int exchangeError) {
            PollStepFollowUp(open, exchangeError);
        });
    statPanel_->setStatus(portMessage, portOpen ? StatusPanel::NormalText : QColor(Qt::red));
    statPanel_->showPicture(Picture::PlugDisconnected);
    AvariaMemo(texts.lngPuskPrg, alarms::EventBlack);
}

bool TMainFormAlb::FormClose()
{
    ClosingSteps steps;
    steps.journalExit = [this] { dm_.Jurnal(dm_.texts().lngExitPrg, 2); };
    steps.saveSettings = [this] { return writeSettings(dm_.settingsFile(), dm_.settings()); };
    steps.stopPollThread = dm_.link.stopPolling;
    steps.closePort = dm_.link.closePort;
    steps.releaseStatusBitmap = [this] { statPanel_->releaseStatusBitmap(); };
    if (const auto refused = runClosing(steps)) {
        report(*refused);
        return false;
    }
    return true;
}

void TMainFormAlb::closeEvent(QCloseEvent* event)
{
    if (closed_) {
        event->accept();
    } else if (FormClose()) {
        closed_ = true;
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}

void TMainFormAlb::buildLanguageMenu()
{
    const QStringList files = languageFileNames(dm_.ProgramDir(), dm_.settingsFile());
    int number = 0;
    for (const QString& file : files) {
        QAction* item = mnuLanguage_->addAction(file);
        item->setObjectName(QStringLiteral("mnuLang%1").arg(++number));
        item->setCheckable(true);
        if (file == dm_.settings().Language) {
            item->setChecked(true);
            checkedLanguage_ = item;
        }
        connect(item, &QAction::triggered, this, [this, item] { mnuLangClick(item); });
        languageItems_.push_back(item);
    }
    mnuLanguage_->setEnabled(!languageItems_.empty());
}

void TMainFormAlb::LoadLanguage(const QString& path)
{
    const MainLanguage lang = loadMainLanguage(path);
    setWindowTitle(mainWindowCaption(lang.windowName));
    for (const auto& [name, text] : lang.captions)
        setCaption(findChild<QObject*>(name), text);
    dm_.setTexts(lang.texts);
    btnUpDown_->setText(lang.texts.lngRazvernut);
}

void TMainFormAlb::mnuLangClick(QAction* item)
{
    // A checkable action has already flipped its own mark when this runs.
    if (item == checkedLanguage_) {
        item->setChecked(true);
        return;
    }
    closeChildren();
    dm_.settings().Language = item->text();
    for (QAction* other : languageItems_)
        other->setChecked(false);
    item->setChecked(true);
    checkedLanguage_ = item;
    LoadLanguage(platform::joinPath(dm_.ProgramDir(), dm_.settings().Language));
    strip_->clear();
    btnUpDown_->setText(eventPanelExpanded() ? dm_.texts().lngSvernut : dm_.texts().lngRazvernut);
}

void TMainFormAlb::putOnStrip(const QString& text, QRgb colour)
{
    const QModelIndex top = strip_->addLine(
        alarms::eventLineText(platform::systemClock().now(), text), alarms::isRedEvent(colour));
    lstAvaria_->selectionModel()->setCurrentIndex(top, QItemSelectionModel::ClearAndSelect);
    lstAvaria_->scrollToTop();
}

void TMainFormAlb::AvariaMemo(const QString& text, QRgb colour)
{
    putOnStrip(text, colour);
    dm_.Jurnal(text, alarms::isRedEvent(colour) ? 1 : 0);
}

void TMainFormAlb::btnClearClick()
{
    strip_->clear();
}

bool TMainFormAlb::eventPanelExpanded() const
{
    // The panel's fixed height, not its current geometry: the window may not
    // have been laid out yet.
    return eventPanel_->maximumHeight() != EventPanelCollapsed;
}

void TMainFormAlb::btnUpDownClick()
{
    const MainTexts& texts = dm_.texts();
    if (!eventPanelExpanded()) {
        eventPanel_->setFixedHeight(EventPanelExpanded);
        btnUpDown_->setIcon(pictureIcon(Picture::Collapse));
        btnUpDown_->setText(texts.lngSvernut);
    } else {
        eventPanel_->setFixedHeight(EventPanelCollapsed);
        btnUpDown_->setIcon(pictureIcon(Picture::Expand));
        btnUpDown_->setText(texts.lngRazvernut);
    }
}

void TMainFormAlb::setStopped(bool stopped)
{
    stopped_ = stopped;
    QPalette pal = stopPanel_->palette();
    pal.setColor(QPalette::Window, stopped ? QColor(Qt::red) : StatusPanel::Background);
    pal.setColor(QPalette::WindowText, Qt::white);
    stopPanel_->setPalette(pal);
    stopPanel_->setAutoFillBackground(true);
}

void TMainFormAlb::setChildFactory(Command command, ChildFactory factory)
{
    CommandSlot& s = commands_[slot(command)];
    s.factory = std::move(factory);
    const bool enabled = static_cast<bool>(s.factory);
    if (s.menuItem)
        s.menuItem->setEnabled(enabled);
    if (s.button)
        s.button->setEnabled(enabled);
}

bool TMainFormAlb::hasChildFactory(Command command) const
{
    return static_cast<bool>(commands_[slot(command)].factory);
}

void TMainFormAlb::runCommand(Command command)
{
    // The settings dialog is no viewer: it leaves the open child alone.
    if (command == Command::Options) {
        mnuOptionsClick();
        return;
    }
    const CommandSlot& s = commands_[slot(command)];
    if (!s.factory)
        return;
    if (!closeChildren())
        return;
    QWidget* made = s.factory();
    if (auto* dialog = qobject_cast<QDialog*>(made)) {
        std::unique_ptr<QDialog> owned(dialog);
        dialog->exec();
        return;
    }
    if (made)
        openChild([made] { return made; });
}

QWidget* TMainFormAlb::openChild(const ChildFactory& factory)
{
    return openChildWindow(*mdi_, factory);
}

bool TMainFormAlb::closeChildren()
{
    return closeChildWindows(*mdi_);
}

QString TMainFormAlb::languageFilePath() const
{
    return platform::joinPath(dm_.ProgramDir(), dm_.settings().Language);
}

void TMainFormAlb::VerifyAlarms()
{
    link::ControllerImage& image = dm_.image();
    alarms::evaluateAlarms(image.alarmBytes, image.previousAlarmBytes, dm_.runState().alarmFirstPass,
                           [this](const alarms::AlarmEvent& event) {
                               AvariaMemo(event.text, event.red ? alarms::EventRed
                                                                : alarms::EventBlack);
                           });
}

void TMainFormAlb::PollStepFollowUp(bool portOpen, int exchangeError)
{
    if (portOpen && exchangeError == 0) {
        VerifyAlarms();
        dm_.CompleteDoza();
        dm_.Arhive();
        setStopped(link::stopPanelColour(dm_.image()) == link::ColourRed);
    }
    const link::LinkView view = dm_.supervisor().step(portOpen, exchangeError);
    const MainTexts& texts = dm_.texts();
    if (view.statusChanged) {
        statPanel_->setStatus(view.text == link::LinkView::Text::Good ? texts.lngSviazGood
                                                                      : texts.lngSviazBad,
                              QColor::fromRgb(view.textColour));
        statPanel_->showPicture(view.picture == link::PictureConnected ? Picture::PlugConnected
                                                                       : Picture::PlugDisconnected);
    }
    if (view.event == link::LinkView::Event::LinkBad)
        AvariaMemo(texts.lngSviazBad, view.eventColour);
    else if (view.event == link::LinkView::Event::LinkGood)
        AvariaMemo(texts.lngSviazGood, view.eventColour);
}

void TMainFormAlb::mnuOptionsClick()
{
    if (runOptionsDialog(this, dm_.settings(), languageFilePath()))
        reopenPort();
}

void TMainFormAlb::reopenPort()
{
    link::ControllerLink* serial = dm_.controllerLink();
    link::TComThread* thread = dm_.pollThread();
    if (!serial || !thread) {
        statPanel_->setStatus(dm_.texts().lngCOMError + QStringLiteral(" -1"), Qt::red);
        return;
    }
    if (!portControl_)
        portControl_ = std::make_unique<LinkPortControl>(
            *serial, *thread, [this] { return dm_.texts().lngCOMOpen; },
            [this] { return dm_.texts().lngCOMError; });
    // A reopen still waiting when the program closes is dropped: the port
    // is closed for good then.
    const Scheduler unlessClosed = [this](int ms, std::function<void()> then) {
        QTimer::singleShot(ms, this, [this, then = std::move(then)] {
            if (!closed_)
                then();
        });
    };
    reopenPortLater(*portControl_, dm_.settings(), unlessClosed,
                    [this](const PortControl::Opened& opened) {
                        statPanel_->setStatus(opened.message,
                                              opened.ok ? QColor::fromRgb(StatusOpenColour)
                                                        : QColor(Qt::red));
                    });
}

void TMainFormAlb::btnAttentionClick()
{
    attention_->open(languageFilePath(), this);
}

tasks::TaskTransfer* TMainFormAlb::taskTransfer()
{
    link::ControllerLink* serial = dm_.controllerLink();
    link::TComThread* thread = dm_.pollThread();
    if (!serial || !thread)
        return nullptr;
    if (!taskTransfer_) {
        taskPort_ = std::make_unique<tasks::LinkTaskPort>(*serial, *thread);
        taskTransfer_ = std::make_unique<tasks::TaskTransfer>(*taskPort_, dm_.image().taskSnapshot,
                                                              tasks::waitProcessingEvents);
    }
    return taskTransfer_.get();
}

void TMainFormAlb::registerWorkstationWindows()
{
    setChildFactory(Command::Mnemo,
                    [this] { return new mimic::TMnemoForm(languageFilePath()); });
    if (taskTransfer())
        setChildFactory(Command::TabZad, [this]() -> QWidget* {
            return new tasks::TTableForm(languageFilePath(), *taskTransfer());
        });
}

} // namespace tarvok::app
