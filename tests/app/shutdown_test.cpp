// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The real program, stopped the way session managers and service tools stop
// it. A stop must still journal, save the settings and end with status 0.
class ShutdownTest : public QObject {
    Q_OBJECT
private slots:
    void sigtermSavesSettingsAndExitsCleanly_data();
    void sigtermSavesSettingsAndExitsCleanly();
};

namespace {

// SIGTERM is caught once the program has installed its handler; before that
// the default action would kill it. Linux shows the caught set in /proc.
bool catchesSigterm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask & (1ull << (15 - 1))); // SIGTERM is 15
        }
    }
    return false;
}

} // namespace

void ShutdownTest::sigtermSavesSettingsAndExitsCleanly_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("no settings file")
        << QByteArray()
        << QByteArray("[Data]\nComPort=1\nMaxArhDay=45\nComSpeed=115200\nDelayTime=500\nLanguage=\n");
    QTest::newRow("other sections, keys and comments kept")
        << QByteArray("; written by hand\n[Site]\nName = Intake 4\n\n[Data]\n; speed of the line\n"
                      "ComSpeed = 9600\nExtra=keep\n\n[Last]\nx=1\n")
        << QByteArray("; written by hand\n[Site]\nName = Intake 4\n\n[Data]\n; speed of the line\n"
                      "ComSpeed=9600\nExtra=keep\nComPort=1\nMaxArhDay=45\nDelayTime=500\nLanguage=\n"
                      "\n[Last]\nx=1\n");
}

void ShutdownTest::sigtermSavesSettingsAndExitsCleanly()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir config;
    QTemporaryDir work;
    const QString ini = config.filePath(QStringLiteral("tarvok.ini"));
    if (!before.isNull()) {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    }

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVOK_INI"), ini);
    env.insert(QStringLiteral("TARVOK_SPLASH_MS"), QStringLiteral("0"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
    // No controller here: COM1 names a device that does not exist, whatever
    // serial ports this machine has.
    env.insert(QStringLiteral("TARVOK_COM1"), work.filePath(QStringLiteral("no-such-port")));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(work.path());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(qEnvironmentVariable("TARVOK_BUILD_DIR") + QStringLiteral("/tarvok"), {});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(catchesSigterm(program.processId()), 60000);

    program.terminate(); // SIGTERM
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    QFile f(ini);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), after);

    // The day's journal holds the start and the exit entries (table text is
    // code page 866: "Запуск", "Выход").
    const QStringList journals = QDir(work.path()).entryList({QStringLiteral("jur_*.dbf")}, QDir::Files);
    QCOMPARE(journals.size(), 1);
    QFile journal(work.filePath(journals.first()));
    QVERIFY(journal.open(QIODevice::ReadOnly));
    const QByteArray records = journal.readAll();
    const qsizetype start = records.indexOf("\x87\xA0\xAF\xE3\xE1\xAA");
    const qsizetype exit = records.indexOf("\x82\xEB\xE5\xAE\xA4");
    QVERIFY(start > 0);
    QVERIFY(exit > start);
}

QTEST_GUILESS_MAIN(ShutdownTest)
#include "shutdown_test.moc"
