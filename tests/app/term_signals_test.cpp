// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/term_signals.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

using tarvok::platform::TermSignals;

// A stop signal must arrive as a Qt signal on the owning thread, and must not
// end the process by its default action.
class TermSignalsTest : public QObject {
    Q_OBJECT
private slots:
    void stopSignalBecomesQtSignal_data();
    void stopSignalBecomesQtSignal();
    void secondInstanceStaysInactive();
};

void TermSignalsTest::stopSignalBecomesQtSignal_data()
{
    QTest::addColumn<int>("signo");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TermSignalsTest::stopSignalBecomesQtSignal()
{
    QFETCH(int, signo);
    TermSignals term;
    QVERIFY(term.isActive());
    QSignalSpy spy(&term, &TermSignals::terminationRequested);
    QCOMPARE(std::raise(signo), 0);
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toInt(), signo);
}

void TermSignalsTest::secondInstanceStaysInactive()
{
    TermSignals first;
    TermSignals second;
    QVERIFY(first.isActive());
    QVERIFY(!second.isActive());
}

QTEST_GUILESS_MAIN(TermSignalsTest)
#include "term_signals_test.moc"
