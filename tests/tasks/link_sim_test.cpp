// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
//
// The task transfer and the port reopening against the controller simulator
// on pseudo-terminals, with the real link and a busy poll thread handing its
// follow-up to this (the window) thread.

#include "app/link_port_control.h"
#include "app/options_apply.h"
#include "link/controller_link.h"
#include "link/poll_thread.h"
#include "tasks/link_task_port.h"
#include "tasks/table_form.h"

#include <QFile>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace tarvok;

namespace {

// One simulator process; the workstation reaches it as COM<n>.
class Sim {
public:
    Sim(const QTemporaryDir& dir, int com, QStringList args)
        : logPath_(dir.filePath(QStringLiteral("sim%1.log").arg(com)))
    {
        args << QStringLiteral("--log") << logPath_;
        process_.start(qEnvironmentVariable("TARVOK_BUILD_DIR") + QStringLiteral("/tarvok-sim"),
                       args);
        if (!process_.waitForStarted(5000))
            return;
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        pty_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        qputenv(QStringLiteral("TARVOK_COM%1").arg(com).toLatin1().constData(), pty_.toLocal8Bit());
    }
    ~Sim()
    {
        process_.terminate();
        process_.waitForFinished(5000);
    }

    bool up() const { return pty_.startsWith(QStringLiteral("/dev/")); }

    QStringList log() const
    {
        QFile f(logPath_);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    int reads() const { return int(log().filter(QStringLiteral(" request read ")).size()); }

private:
    QString logPath_;
    QProcess process_;
    QString pty_;
};

const QString zeroBlockLine = [] {
    QString data = QStringLiteral("00");
    for (int i = 1; i < 30; ++i)
        data += QStringLiteral(" 00");
    return QStringLiteral(" request write start=150 count=30 data=") + data;
}();

// Condition waits only: a generous deadline keeps a broken build from
// hanging the suite, nothing is asserted about how long anything takes.
constexpr int Deadline = 20000;

} // namespace

class LinkSimTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::atomic<int> delayTime{20};
    QObject windowThread;

    std::unique_ptr<link::TComThread> startPolling(link::ControllerLink& link)
    {
        auto thread =
            std::make_unique<link::TComThread>(link, delayTime, &windowThread, [](bool, int) {});
        thread->start();
        return thread;
    }

private Q_SLOTS:
    void transfer_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("message");
        QTest::newRow("declined") << QStringList{} << false << 0 << false;
        QTest::newRow("accepted") << QStringList{QStringLiteral("--write-result"),
                                                 QStringLiteral("0")}
                                  << true << 0 << false;
        QTest::newRow("refused 1")
            << QStringList{QStringLiteral("--write-result"), QStringLiteral("1")} << true << 1
            << true;
        QTest::newRow("refused 3")
            << QStringList{QStringLiteral("--write-result"), QStringLiteral("3")} << true << 3
            << false;
        // Silent from the fourth request on: the write goes unanswered.
        QTest::newRow("no answer")
            << QStringList{QStringLiteral("--silent-after"), QStringLiteral("3"),
                           QStringLiteral("--silent-polls"), QStringLiteral("1000000")}
            << true << 5 << true;
    }

    void transfer()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(bool, yes);
        QFETCH(int, code);
        QFETCH(bool, message);

        Sim sim(dir, 5, simArgs);
        QVERIFY(sim.up());
        link::ControllerImage image;
        link::ControllerLink link(image);
        QCOMPARE(link.Initial(5, 115200, QStringLiteral("open"), QStringLiteral("error")),
                 QStringLiteral("open"));
        auto thread = startPolling(link);
        QVERIFY(QTest::qWaitFor([&] { return sim.reads() >= 3; }, Deadline));
        const tasks::TaskBlock before = image.taskSnapshot;

        tasks::LinkTaskPort port(link, *thread);
        tasks::TaskTransfer transfer(port, image.taskSnapshot, tasks::waitProcessingEvents);
        bool shown = false;
        const auto result = transfer.run([yes] { return yes; }, [&shown](int) { shown = true; });

        QCOMPARE(result.confirmed, yes);
        const QStringList log = sim.log();
        const auto writes = log.filter(QStringLiteral(" request write "));
        if (!yes) {
            QVERIFY(writes.isEmpty());
        } else {
            QCOMPARE(result.exchangeError, code);
            QCOMPARE(writes.size(), 1);
            QVERIFY2(writes[0].endsWith(zeroBlockLine), qPrintable(writes[0]));
        }
        QCOMPARE(shown, message);
        QVERIFY(image.taskSnapshot == (yes && code == 0 ? tasks::TaskBlock{} : before));

        // Polling goes on after the transfer, whatever its outcome.
        const int readsThen = sim.reads();
        QVERIFY(QTest::qWaitFor([&] { return sim.reads() >= readsThen + 2; }, Deadline));
        thread->stopAndWait();

        tasks::TTableForm next(dir.filePath(QStringLiteral("none.ini")), transfer);
        QCOMPARE(next.findChild<QSpinBox*>(QStringLiteral("sePortion1"))->value(),
                 yes && code == 0 ? 1 : std::clamp<int>(before[0], 1, 10));
    }

    void reopenAtAnotherPort()
    {
        Sim com1(dir, 1, {});
        Sim com2(dir, 2, {});
        QVERIFY(com1.up() && com2.up());
        qputenv("TARVOK_COM3", dir.filePath(QStringLiteral("no-such-device")).toLocal8Bit());

        link::ControllerImage image;
        link::ControllerLink link(image);
        link.Initial(1, 115200, QStringLiteral("open"), QStringLiteral("error"));
        auto thread = startPolling(link);
        QVERIFY(QTest::qWaitFor([&] { return com1.reads() >= 2; }, Deadline));

        app::LinkPortControl control(
            link, *thread, [] { return QStringLiteral("COM-порт открыт"); },
            [] { return QStringLiteral("Ошибка COM-порта"); });
        app::Settings settings;
        std::optional<app::PortControl::Opened> opened;
        const auto reopen = [&](int port, int speed) {
            settings.ComPort = port;
            settings.ComSpeed = speed;
            opened.reset();
            app::reopenPortLater(control, settings, app::timerScheduler(&windowThread),
                                 [&opened](const app::PortControl::Opened& o) { opened = o; });
            return QTest::qWaitFor([&] { return opened.has_value(); }, Deadline);
        };

        QVERIFY(reopen(2, 9600));
        QVERIFY(opened->ok);
        QCOMPARE(opened->message, QStringLiteral("COM-порт открыт"));
        const int com1Reads = com1.reads();
        QVERIFY(QTest::qWaitFor([&] { return com2.reads() >= 2; }, Deadline));
        QCOMPARE(com1.reads(), com1Reads);

        // A port with no device: the error, and polling still resumed (its
        // steps go on, making no exchange).
        QVERIFY(reopen(3, 9600));
        QVERIFY(!opened->ok);
        QCOMPARE(opened->message, QStringLiteral("Ошибка COM-порта -1"));
        const auto steps = thread->stepsDone();
        QVERIFY(QTest::qWaitFor([&] { return thread->stepsDone() >= steps + 2; }, Deadline));

        // And back: the link reaches the device again.
        const int com2Reads = com2.reads();
        QVERIFY(reopen(2, 9600));
        QVERIFY(opened->ok);
        QVERIFY(QTest::qWaitFor([&] { return com2.reads() >= com2Reads + 2; }, Deadline));
        thread->stopAndWait();
    }
};

QTEST_MAIN(LinkSimTest)
#include "link_sim_test.moc"
