// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/event_strip.h"
#include "app/about_box.h"
#include "app/attention_button.h"
#include "app/desk_form.h"
#include "app/fonts.h"
#include "app/main_form.h"
#include "app/pictures.h"
#include "app/splash_form.h"
#include "app/status_panel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace tarvok;
using namespace tarvok::app;

namespace {

// A child window that records its close, standing in for the viewers.
class ProbeChild : public QWidget {
public:
    explicit ProbeChild(QStringList* log, QString name)
        : log_(log)
        , name_(std::move(name))
    {
        setObjectName(name_);
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        log_->append(QStringLiteral("close ") + name_);
        QWidget::closeEvent(event);
    }

private:
    QStringList* log_;
    QString name_;
};

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(PictureSize, PictureSize).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage pictureImage(Picture role)
{
    return imageList1()[static_cast<std::size_t>(role)].convertToFormat(QImage::Format_ARGB32);
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithBuiltInTextsAndStartEvent();
    void languageMenuAndTexts_data();
    void languageMenuAndTexts();
    void switchingLanguageClosesChildrenAndEmptiesStrip();
    void choosingCheckedLanguageDoesNothing();
    void stripKeepsThirtyNewestAndJournalsEach();
    void clearThenOneEvent();
    void upDownTwiceReturnsToCollapsed();
    void commandsStayDisabledUntilAFactoryExists();
    void neverTwoChildren();
    void closingRunsItsStepsInOrder();
    void refusedSettingsWriteKeepsWindowOpen();
    void badSettingIsReportedAndCreationGoesOn();
    void openPortShowsItsMessageInTheNormalColour();
    void stopPanelTurnsRed();
    void aboutBoxShowsTheSameTextsEachTime();
    void deskFormTakesTheCallersText();
    void attentionPanelPressesAndClicks();
    void splashTime_data();
    void splashTime();

private:
    void writeFile(const QString& path, const QByteArray& bytes);
    void create();
    template <typename T>
    T* find(const char* name)
    {
        return form->findChild<T*>(QString::fromUtf8(name));
    }
    QStringList checkedLanguageItems();

    std::unique_ptr<QTemporaryDir> configDir;
    std::unique_ptr<QTemporaryDir> workDir;
    QString savedCwd;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainFormAlb> form;
    QStringList messages;
    QStringList log;               // seam calls and child closes, in order
    std::vector<std::pair<QString, int>> journal;
};

void MainFormTest::init()
{
    configDir = std::make_unique<QTemporaryDir>();
    workDir = std::make_unique<QTemporaryDir>();
    savedCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workDir->path()));
    qputenv("TARVOK_INI", configDir->filePath(QStringLiteral("tarvok.ini")).toUtf8());
    messages.clear();
    log.clear();
    journal.clear();
    dm = std::make_unique<TDM>();
    dm->setJournalObserver([this](const QString& text, int code) {
        journal.emplace_back(text, code);
        log.append(QStringLiteral("journal %1").arg(code));
    });
}

void MainFormTest::cleanup()
{
    if (form)
        form->close();
    form.reset();
    flushDeletes();
    dm.reset();
    QDir::setCurrent(savedCwd);
    qunsetenv("TARVOK_INI");
}

void MainFormTest::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void MainFormTest::create()
{
    form = std::make_unique<TMainFormAlb>(*dm, [this](const QString& m) { messages.append(m); });
}

QStringList MainFormTest::checkedLanguageItems()
{
    QStringList names;
    for (QAction* a : find<QMenu>("mnuLanguage")->actions())
        if (a->isChecked())
            names.append(a->objectName());
    return names;
}

void MainFormTest::startsWithBuiltInTextsAndStartEvent()
{
    create();
    QCOMPARE(form->windowTitle(), QStringLiteral("Водозабор №4 v1.1 (demo)"));
    QCOMPARE(find<QMenu>("mnuComands")->title(), QStringLiteral("Функции"));
    QCOMPARE(find<QAction>("mnuExit")->text(), QStringLiteral("Выйти из программы"));
    QCOMPARE(find<QToolButton>("btnUpDown")->text(), QStringLiteral("Развернуть"));
    QCOMPARE(find<QLabel>("StopPanel")->text(), QStringLiteral("Останов"));
    QVERIFY(!find<QMenu>("mnuLanguage")->isEnabled());
    QCOMPARE(dm->ProgramDir(), QDir::currentPath());

    // F1..F6 on the command items.
    const char* items[] = {"mnuTabZad", "mnuMnemo", "mnuHistory", "mnuJurnal", "mnuProtocol", "mnuRaport"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(find<QAction>(items[i])->shortcut(), QKeySequence(Qt::Key_F1 + i));

    // No link attached: the status says the port is not open, in red, with
    // the disconnected plug composed on the panel colour.
    QCOMPARE(form->statusPanel().statusText(), QStringLiteral("Ошибка COM-порта -1"));
    QCOMPARE(form->statusPanel().statusColour(), QColor(Qt::red));
    QImage expected(PictureSize, PictureSize, QImage::Format_RGB32);
    expected.fill(StatusPanel::Background);
    {
        QPainter p(&expected);
        p.drawImage(0, 0, imageList1()[3]);
    }
    QCOMPARE(form->statusPanel().shownPicture().convertToFormat(QImage::Format_RGB32), expected);

    QCOMPARE(form->eventStrip().rowCount(), 1);
    QVERIFY(form->eventStrip().lineText(0).endsWith(QStringLiteral("  Запуск программы")));
    QVERIFY(!form->eventStrip().lineRed(0));
    QCOMPARE(form->eventList()->currentIndex().row(), 0);
    QCOMPARE(journal, (std::vector<std::pair<QString, int>>{{QStringLiteral("Запуск программы"), 0}}));

    find<QAction>("mnuSprav")->trigger(); // no help: nothing opens
    QVERIFY(form->mdiArea()->subWindowList().isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
}

void MainFormTest::languageMenuAndTexts_data()
{
    QTest::addColumn<QStringList>("files");        // name=content, written to ProgramDir
    QTest::addColumn<QString>("language");         // Settings.Language
    QTest::addColumn<QStringList>("items");        // menu captions in order
    QTest::addColumn<QStringList>("checked");      // checked item names
    QTest::addColumn<QString>("exitCaption");
    QTest::addColumn<QString>("aboutCaption");

    const QString defExit = QStringLiteral("Выйти из программы");
    const QString defAbout = QStringLiteral("О программе...");
    QTest::newRow("only mnuExit in capitals")
        << QStringList{QStringLiteral("English.ini=[Main]\n  MNUEXIT = Exit\n")}
        << QStringLiteral("English.ini") << QStringList{QStringLiteral("English.ini")}
        << QStringList{QStringLiteral("mnuLang1")} << QStringLiteral("Exit") << defAbout;
    QTest::newRow("empty value gives empty caption")
        << QStringList{QStringLiteral("a.ini=[Main]\nmnuAbout=\n")} << QStringLiteral("a.ini")
        << QStringList{QStringLiteral("a.ini")} << QStringList{QStringLiteral("mnuLang1")}
        << defExit << QString();
    QTest::newRow("language file missing")
        << QStringList{QStringLiteral("b.ini=[Main]\nmnuExit=B\n"), QStringLiteral("a.ini=[Main]\nmnuExit=A\n")}
        << QStringLiteral("gone.ini") << QStringList{QStringLiteral("a.ini"), QStringLiteral("b.ini")}
        << QStringList{} << defExit << defAbout;
    QTest::newRow("check mark needs exact case")
        << QStringList{QStringLiteral("English.ini=[Main]\nmnuExit=Exit\n")}
        << QStringLiteral("english.ini") << QStringList{QStringLiteral("English.ini")}
        << QStringList{} << defExit << defAbout;
    QTest::newRow("no language chosen")
        << QStringList{QStringLiteral("z.ini=[Main]\nmnuExit=Z\n")} << QString()
        << QStringList{QStringLiteral("z.ini")} << QStringList{} << defExit << defAbout;
}

void MainFormTest::languageMenuAndTexts()
{
    QFETCH(QStringList, files);
    QFETCH(QString, language);
    QFETCH(QStringList, items);
    QFETCH(QStringList, checked);
    QFETCH(QString, exitCaption);
    QFETCH(QString, aboutCaption);
    for (const QString& f : files) {
        const qsizetype eq = f.indexOf(u'=');
        writeFile(workDir->filePath(f.left(eq)), f.mid(eq + 1).toUtf8());
    }
    writeFile(configDir->filePath(QStringLiteral("tarvok.ini")),
              (QStringLiteral("[Data]\nLanguage=") + language + u'\n').toUtf8());
    create();

    QVERIFY(find<QMenu>("mnuLanguage")->isEnabled());
    QStringList captions;
    const auto actions = find<QMenu>("mnuLanguage")->actions();
    for (int i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions[i]->objectName(), QStringLiteral("mnuLang%1").arg(i + 1));
        captions.append(actions[i]->text());
    }
    QCOMPARE(captions, items);
    QCOMPARE(checkedLanguageItems(), checked);
    QCOMPARE(find<QAction>("mnuExit")->text(), exitCaption);
    QCOMPARE(find<QAction>("mnuAbout")->text(), aboutCaption);
    QCOMPARE(find<QAction>("mnuTabZad")->text(), QStringLiteral("Таблица заданий"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Водозабор №4 v1.1 (demo)"));
}

void MainFormTest::switchingLanguageClosesChildrenAndEmptiesStrip()
{
    writeFile(workDir->filePath(QStringLiteral("English.ini")),
              "[Main]\nMainFormAlb=Intake 4\nmnuExit=Exit\nlngSvernut=Collapse\nlngRazvernut=Expand\n");
    writeFile(workDir->filePath(QStringLiteral("Russian.ini")), "[Main]\n");
    writeFile(configDir->filePath(QStringLiteral("tarvok.ini")), "[Data]\nLanguage=Russian.ini\n");
    create();
    form->setChildFactory(Command::Jurnal, [this] { return new ProbeChild(&log, QStringLiteral("viewer")); });
    form->runCommand(Command::Jurnal);
    form->btnUpDownClick(); // expanded: the caption after the switch is the "collapse" text
    form->AvariaMemo(QStringLiteral("Останов"), alarms::EventRed);
    const auto journalBefore = journal.size();

    find<QAction>("mnuLang1")->trigger(); // English.ini

    QVERIFY(log.contains(QStringLiteral("close viewer")));
    QVERIFY(form->mdiArea()->subWindowList().isEmpty());
    QCOMPARE(dm->settings().Language, QStringLiteral("English.ini"));
    QCOMPARE(checkedLanguageItems(), QStringList{QStringLiteral("mnuLang1")});
    QCOMPARE(find<QAction>("mnuExit")->text(), QStringLiteral("Exit"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Intake 4 v1.1 (demo)"));
    QCOMPARE(form->eventStrip().rowCount(), 0);
    QCOMPARE(journal.size(), journalBefore); // the journal is not touched
    QCOMPARE(find<QToolButton>("btnUpDown")->text(), QStringLiteral("Collapse"));
    QCOMPARE(dm->texts().lngRazvernut, QStringLiteral("Expand"));
}

void MainFormTest::choosingCheckedLanguageDoesNothing()
{
    writeFile(workDir->filePath(QStringLiteral("English.ini")), "[Main]\nmnuExit=Exit\n");
    writeFile(configDir->filePath(QStringLiteral("tarvok.ini")), "[Data]\nLanguage=English.ini\n");
    create();
    form->setChildFactory(Command::Jurnal, [this] { return new ProbeChild(&log, QStringLiteral("viewer")); });
    form->runCommand(Command::Jurnal);
    find<QAction>("mnuExit")->setText(QStringLiteral("changed since load"));

    find<QAction>("mnuLang1")->trigger();

    QCOMPARE(checkedLanguageItems(), QStringList{QStringLiteral("mnuLang1")});
    QCOMPARE(form->mdiArea()->subWindowList().size(), 1);
    QVERIFY(!log.contains(QStringLiteral("close viewer")));
    QCOMPARE(form->eventStrip().rowCount(), 1);
    QCOMPARE(find<QAction>("mnuExit")->text(), QStringLiteral("changed since load"));
}

void MainFormTest::stripKeepsThirtyNewestAndJournalsEach()
{
    create();
    journal.clear();
    for (int i = 1; i <= 30; ++i)
        form->AvariaMemo(QStringLiteral("event %1").arg(i), i % 2 ? alarms::EventRed : alarms::EventBlue);
    QCOMPARE(form->eventStrip().rowCount(), 30);
    // The start event was the oldest and is gone.
    QVERIFY(form->eventStrip().lineText(29).endsWith(QStringLiteral("  event 1")));
    QVERIFY(form->eventStrip().lineText(0).endsWith(QStringLiteral("  event 30")));
    QVERIFY(!form->eventStrip().lineRed(0)); // blue is drawn black
    QVERIFY(form->eventStrip().lineRed(1));
    QCOMPARE(form->eventList()->currentIndex().row(), 0);
    QCOMPARE(journal.size(), std::size_t(30));
    QCOMPARE(journal.front(), (std::pair<QString, int>{QStringLiteral("event 1"), 1}));
    QCOMPARE(journal.back(), (std::pair<QString, int>{QStringLiteral("event 30"), 0}));
}

void MainFormTest::clearThenOneEvent()
{
    create();
    form->AvariaMemo(QStringLiteral("a"), 0);
    find<QToolButton>("btnClear")->click();
    QCOMPARE(form->eventStrip().rowCount(), 0);
    form->AvariaMemo(QStringLiteral("b"), alarms::EventRed);
    QCOMPARE(form->eventStrip().rowCount(), 1);
    QVERIFY(form->eventStrip().lineText(0).endsWith(QStringLiteral("  b")));
    QCOMPARE(find<QToolButton>("btnClear")->text(), QStringLiteral("Очистить"));
}

void MainFormTest::upDownTwiceReturnsToCollapsed()
{
    create();
    auto* panel = find<QWidget>("EventPanel");
    auto* button = find<QToolButton>("btnUpDown");
    QCOMPARE(panel->maximumHeight(), 25);
    QCOMPARE(iconImage(button->icon()), pictureImage(Picture::Expand));

    button->click();
    QCOMPARE(panel->maximumHeight(), 57);
    QCOMPARE(panel->minimumHeight(), 57);
    QCOMPARE(button->text(), QStringLiteral("Свернуть"));
    QCOMPARE(iconImage(button->icon()), pictureImage(Picture::Collapse));

    button->click();
    QCOMPARE(panel->maximumHeight(), 25);
    QCOMPARE(button->text(), QStringLiteral("Развернуть"));
    QCOMPARE(iconImage(button->icon()), pictureImage(Picture::Expand));
}

void MainFormTest::commandsStayDisabledUntilAFactoryExists()
{
    create();
    const char* names[] = {"btnTabZad", "mnuTabZad", "btnMnemo", "mnuMnemo", "btnHistory",
                           "btnJurnal", "btnProtocol", "btnRaport"};
    for (const char* name : names) {
        QObject* o = form->findChild<QObject*>(QString::fromUtf8(name));
        QVERIFY2(o, name);
        QVERIFY2(!o->property("enabled").toBool(), name);
    }
    form->runCommand(Command::History);
    QVERIFY(form->mdiArea()->subWindowList().isEmpty());

    form->setChildFactory(Command::History, [this] { return new ProbeChild(&log, QStringLiteral("h")); });
    QVERIFY(find<QToolButton>("btnHistory")->isEnabled());
    QVERIFY(find<QAction>("mnuHistory")->isEnabled());
    QVERIFY(!find<QToolButton>("btnJurnal")->isEnabled());
    find<QAction>("mnuHistory")->trigger();
    QCOMPARE(form->mdiArea()->subWindowList().size(), 1);
    // Their own buttons close no child.
    find<QToolButton>("btnClear")->click();
    find<QToolButton>("btnUpDown")->click();
    QCOMPARE(form->mdiArea()->subWindowList().size(), 1);
}

void MainFormTest::neverTwoChildren()
{
    create();
    int made = 0;
    auto factory = [this, &made](const char* kind) {
        return [this, &made, kind] {
            return new ProbeChild(&log, QStringLiteral("%1%2").arg(QString::fromUtf8(kind)).arg(++made));
        };
    };
    form->setChildFactory(Command::TabZad, factory("table"));
    form->setChildFactory(Command::Jurnal, factory("journal"));
    form->setChildFactory(Command::Protocol, factory("protocol"));
    log.clear();

    find<QToolButton>("btnTabZad")->click();
    QPointer<QWidget> first = form->mdiArea()->subWindowList().value(0)->widget();
    find<QToolButton>("btnJurnal")->click();
    find<QToolButton>("btnProtocol")->click();
    QCOMPARE(form->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(log, (QStringList{QStringLiteral("close table1"), QStringLiteral("close journal2")}));
    QVERIFY(form->mdiArea()->subWindowList().first()->isMaximized());

    // The same command twice: a fresh window, the old one freed.
    QPointer<QWidget> before = form->mdiArea()->subWindowList().first()->widget();
    find<QToolButton>("btnProtocol")->click();
    flushDeletes();
    QCOMPARE(form->mdiArea()->subWindowList().size(), 1);
    QVERIFY(before.isNull());
    QVERIFY(first.isNull());
    QCOMPARE(form->mdiArea()->subWindowList().first()->widget()->objectName(), QStringLiteral("protocol4"));
}

void MainFormTest::closingRunsItsStepsInOrder()
{
    const QString ini = configDir->filePath(QStringLiteral("tarvok.ini"));
    dm->link.openPort = [this](int port, int speed, const QString& openText, const QString&) {
        log.append(QStringLiteral("open %1 %2").arg(port).arg(speed));
        return openText;
    };
    dm->link.portOpen = [] { return true; };
    dm->link.startPolling = [this](QObject*, const LinkHooks::FollowUp&) {
        log.append(QStringLiteral("start thread"));
    };
    dm->link.stopPolling = [this, ini] {
        log.append(QStringLiteral("stop thread"));
        // The settings are on disk before the thread is asked to stop.
        QVERIFY(QFile::exists(ini));
    };
    dm->link.closePort = [this] { log.append(QStringLiteral("close port")); };
    create();
    QCOMPARE(log, (QStringList{QStringLiteral("open 1 115200"), QStringLiteral("start thread"),
                               QStringLiteral("journal 0")}));
    log.clear();
    dm->settings().DelayTime = 0;

    QVERIFY(form->close());
    QCOMPARE(log, (QStringList{QStringLiteral("journal 2"), QStringLiteral("stop thread"),
                               QStringLiteral("close port")}));
    QCOMPARE(journal.back(), (std::pair<QString, int>{QStringLiteral("Выход из программы"), 2}));
    QCOMPARE(form->eventStrip().rowCount(), 1); // the exit entry is not on the strip
    QFile f(ini);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("[Data]\nComPort=1\nMaxArhDay=45\nComSpeed=115200\nDelayTime=0\nLanguage=\n"));

    // A second close (the signal after mnuExit, say) runs nothing again.
    log.clear();
    form->close();
    QVERIFY(log.isEmpty());
}

void MainFormTest::refusedSettingsWriteKeepsWindowOpen()
{
    // A settings path under a regular file: refused even for root.
    writeFile(configDir->filePath(QStringLiteral("plain")), "x");
    const QString ini = configDir->filePath(QStringLiteral("plain/tarvok.ini"));
    qputenv("TARVOK_INI", ini.toUtf8());
    dm = std::make_unique<TDM>();
    dm->link.stopPolling = [this] { log.append(QStringLiteral("stop thread")); };
    dm->link.closePort = [this] { log.append(QStringLiteral("close port")); };
    create();
    form->show();

    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QCOMPARE(messages, QStringList{QStringLiteral("Unable to write to ") + ini});
    QVERIFY(log.isEmpty());
    QVERIFY(form->statusPanel().hasStatusBitmap());
}

void MainFormTest::badSettingIsReportedAndCreationGoesOn()
{
    writeFile(workDir->filePath(QStringLiteral("English.ini")), "[Main]\nmnuExit=Exit\n");
    writeFile(configDir->filePath(QStringLiteral("tarvok.ini")),
              "[Data]\nComPort=one\nDelayTime=250\nLanguage=English.ini\n");
    dm->link.openPort = [this](int port, int, const QString& openText, const QString&) {
        log.append(QStringLiteral("open %1").arg(port));
        return openText;
    };
    create();
    QCOMPARE(messages, QStringList{QStringLiteral("'one' is not a valid integer value")});
    QCOMPARE(dm->settings().ComPort.load(), 1);
    QCOMPARE(dm->settings().DelayTime.load(), 250);
    QCOMPARE(find<QAction>("mnuExit")->text(), QStringLiteral("Exit"));
    QVERIFY(log.contains(QStringLiteral("open 1")));
    QCOMPARE(form->eventStrip().rowCount(), 1);
}

void MainFormTest::openPortShowsItsMessageInTheNormalColour()
{
    dm->link.openPort = [](int, int, const QString& openText, const QString&) { return openText; };
    dm->link.portOpen = [] { return true; };
    create();
    QCOMPARE(form->statusPanel().statusText(), QStringLiteral("COM-порт открыт"));
    QCOMPARE(form->statusPanel().statusColour(), QColor(0x36, 0x36, 0x70));
}

void MainFormTest::stopPanelTurnsRed()
{
    create();
    auto* panel = find<QLabel>("StopPanel");
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(0xDF, 0xDF, 0xDE));
    form->setStopped(true);
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(Qt::red));
    QCOMPARE(panel->palette().color(QPalette::WindowText), QColor(Qt::white));
    form->setStopped(false);
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(0xDF, 0xDF, 0xDE));
}

void MainFormTest::aboutBoxShowsTheSameTextsEachTime()
{
    for (int i = 0; i < 2; ++i) {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("О программе"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("labVersion"))->text(),
                 QStringLiteral("Version 1.1 (demo)"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("21.08.2012"));
        const QPixmap picture = box.findChild<QLabel*>(QStringLiteral("Image2"))->pixmap();
        QCOMPARE(picture.size(), QSize(105, 99));
        QCOMPARE(box.size(), QSize(490, 231));
    }
}

void MainFormTest::deskFormTakesTheCallersText()
{
    TDeskForm desk;
    QCOMPARE(desk.caption(), QStringLiteral("Зачекайте будь ласка..."));
    desk.setCaption(QStringLiteral("Загрузка архива"));
    desk.showAndPaint();
    QVERIFY(desk.isVisible());
    QCOMPARE(desk.caption(), QStringLiteral("Загрузка архива"));
    QCOMPARE(desk.size(), QSize(417, 53));
}

void MainFormTest::attentionPanelPressesAndClicks()
{
    create();
    form->show();
    auto* panel = find<AttentionButton>("btnAttention");
    QCOMPARE(panel->text(), QStringLiteral("Внимание"));
    QCOMPARE(panel->width(), 81);
    QSignalSpy spy(form.get(), &TMainFormAlb::attentionRequested);
    QTest::mousePress(panel, Qt::LeftButton);
    QVERIFY(panel->isPressed());
    QCOMPARE(spy.count(), 0);
    QTest::mouseRelease(panel, Qt::LeftButton);
    QVERIFY(!panel->isPressed());
    QCOMPARE(spy.count(), 1);
    // Released away from the panel: no click.
    QTest::mousePress(panel, Qt::LeftButton);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(spy.count(), 1);
    QVERIFY(form->mdiArea()->subWindowList().isEmpty());
}

void MainFormTest::splashTime_data()
{
    QTest::addColumn<QByteArray>("env");
    QTest::addColumn<int>("ms");
    QTest::newRow("unset") << QByteArray() << 3000;
    QTest::newRow("shortened") << QByteArray("0") << 0;
    QTest::newRow("not a number") << QByteArray("soon") << 3000;
    QTest::newRow("negative") << QByteArray("-1") << 3000;
}

void MainFormTest::splashTime()
{
    QFETCH(QByteArray, env);
    QFETCH(int, ms);
    if (env.isNull())
        qunsetenv("TARVOK_SPLASH_MS");
    else
        qputenv("TARVOK_SPLASH_MS", env);
    QCOMPARE(splashMilliseconds(), ms);
    qunsetenv("TARVOK_SPLASH_MS");
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_form_test.moc"
