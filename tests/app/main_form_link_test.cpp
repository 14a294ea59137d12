// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
//
// The main window on a live link to the controller simulator: the status
// panel and the strip through a port switch to a missing device and back,
// and a task transfer through the window's own transfer object.
#include "alarms/event_strip.h"
#include "app/main_form.h"
#include "app/status_panel.h"
#include "app/tdm.h"
#include "tasks/task_transfer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tarvok;
using namespace tarvok::app;

class MainFormLinkTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void portSwitchToMissingDeviceLosesTheLinkAndSwitchingBackRestoresIt();
    void taskTransferWritesThirtyZeroBytes();
    void closingDuringATransferLeavesItHarmless();

private:
    QString topLine() const;
    QString simLog() const;

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    QProcess sim;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainFormAlb> form;
    QStringList messages;
};

void MainFormLinkTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    const QString plc = dir->filePath(QStringLiteral("plc"));
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(qEnvironmentVariable("TARVOK_BUILD_DIR") + QStringLiteral("/tarvok-sim"),
              {QStringLiteral("--link"), plc, QStringLiteral("--log"),
               dir->filePath(QStringLiteral("sim.log"))});
    QVERIFY(sim.waitForReadyRead(10000));
    QVERIFY(QFileInfo::exists(plc));

    QFile ini(dir->filePath(QStringLiteral("tarvok.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Data]\nDelayTime=50\n");
    ini.close();
    qputenv("TARVOK_INI", ini.fileName().toUtf8());
    qputenv("TARVOK_COM1", plc.toUtf8());
    qputenv("TARVOK_COM3", dir->filePath(QStringLiteral("no-such-port")).toUtf8());
    previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->path()));

    dm = std::make_unique<TDM>();
    dm->enableControllerLink();
    form = std::make_unique<TMainFormAlb>(*dm, [this](const QString& m) { messages.append(m); });
}

void MainFormLinkTest::cleanup()
{
    if (form)
        form->close();
    form.reset();
    dm.reset();
    sim.terminate();
    sim.waitForFinished();
    QDir::setCurrent(previousDir);
    dir.reset();
}

QString MainFormLinkTest::topLine() const
{
    return form->eventStrip().index(0, 0).data(Qt::DisplayRole).toString();
}

QString MainFormLinkTest::simLog() const
{
    QFile f(dir->filePath(QStringLiteral("sim.log")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void MainFormLinkTest::portSwitchToMissingDeviceLosesTheLinkAndSwitchingBackRestoresIt()
{
    const QString good = QStringLiteral("Связь с ШУ установлена");
    const QString bad = QStringLiteral("Сбой связи с ШУ");
    StatusPanel& status = form->statusPanel();
    QTRY_COMPARE_WITH_TIMEOUT(status.statusText(), good, 15000);
    QCOMPARE(status.statusColour(), QColor(0x36, 0x36, 0x70));

    dm->settings().ComPort = 3;
    form->reopenPort();
    QTRY_COMPARE_WITH_TIMEOUT(status.statusText(), QStringLiteral("Ошибка COM-порта -1"), 15000);
    QCOMPARE(status.statusColour(), QColor(Qt::red));
    // Four polls later the link is declared lost: an alarm event on the strip.
    QTRY_COMPARE_WITH_TIMEOUT(status.statusText(), bad, 15000);
    QVERIFY(topLine().endsWith(bad));
    QVERIFY(form->eventStrip().index(0, 0).data(alarms::EventStripModel::RedFlagRole).toBool());

    dm->settings().ComPort = 1;
    form->reopenPort();
    QTRY_COMPARE_WITH_TIMEOUT(status.statusText(), good, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(topLine().endsWith(good), 15000);
    QVERIFY(messages.isEmpty());
}

void MainFormLinkTest::taskTransferWritesThirtyZeroBytes()
{
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel().statusText(),
                              QStringLiteral("Связь с ШУ установлена"), 15000);
    tasks::TaskTransfer* transfer = form->taskTransfer();
    QVERIFY(transfer);
    QList<int> failures;
    transfer->run([] { return true; }, [&failures](int code) { failures.append(code); });
    QVERIFY(failures.isEmpty());
    QString zeros = QStringLiteral("00");
    for (int i = 1; i < 30; ++i)
        zeros += QStringLiteral(" 00");
    QVERIFY(simLog().contains(QStringLiteral("request write start=150 count=30 data=") + zeros));
    QVERIFY(simLog().contains(QStringLiteral("reply write code=0")));
    // Polling goes on after the transfer.
    const int reads = static_cast<int>(simLog().count(QStringLiteral("request read")));
    QTRY_VERIFY_WITH_TIMEOUT(simLog().count(QStringLiteral("request read")) > reads + 2, 15000);
}

void MainFormLinkTest::closingDuringATransferLeavesItHarmless()
{
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel().statusText(),
                              QStringLiteral("Связь с ШУ установлена"), 15000);
    tasks::TaskTransfer* transfer = form->taskTransfer();
    QVERIFY(transfer);
    const auto before = dm->image().taskSnapshot;
    QList<int> failures;
    // A SIGTERM (or the close box) while the question is open: the closing
    // stops the poll thread and closes the port under the transfer.
    transfer->run(
        [this] {
            const bool closed = form->close();
            return closed;
        },
        [&failures](int code) { failures.append(code); });
    QCOMPARE(failures, QList<int>{5});
    QCOMPARE(dm->image().taskSnapshot, before);
    QVERIFY(!dm->PortOpen());
    QVERIFY(!simLog().contains(QStringLiteral("request write")));
}

QTEST_MAIN(MainFormLinkTest)
#include "main_form_link_test.moc"
