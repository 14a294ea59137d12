// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/event_strip.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

using namespace tarvok::alarms;

class EventStripTest : public QObject {
    Q_OBJECT
private slots:
    void lineTextFollowsTheRussianLocale();
    void thirtyFirstLineDropsTheOldest();
    void clearThenOneLine();
    void onlyPureRedIsRed_data();
    void onlyPureRedIsRed();
    void drawsWhiteLineWithFlagColour_data();
    void drawsWhiteLineWithFlagColour();
};

void EventStripTest::lineTextFollowsTheRussianLocale()
{
    const QDateTime when(QDate(2024, 1, 5), QTime(14, 5, 9));
    QCOMPARE(eventLineText(when, QStringLiteral("Останов")),
             QStringLiteral("05.01.2024  14:05:09  Останов"));
}

void EventStripTest::thirtyFirstLineDropsTheOldest()
{
    EventStripModel model;
    for (int i = 1; i <= 31; ++i) {
        const QModelIndex top = model.addLine(QStringLiteral("event %1").arg(i), false);
        QCOMPARE(top.row(), 0);
    }
    QCOMPARE(model.rowCount(), EventStripModel::Capacity);
    QCOMPARE(model.rowCount(), 30);
    QCOMPARE(model.lineText(0), QStringLiteral("event 31"));
    QCOMPARE(model.lineText(29), QStringLiteral("event 2"));
    for (int i = 0; i < 10; ++i)
        model.addLine(QStringLiteral("more"), true);
    QCOMPARE(model.rowCount(), 30);
    QCOMPARE(model.lineText(29), QStringLiteral("event 12"));
}

void EventStripTest::clearThenOneLine()
{
    EventStripModel model;
    model.addLine(QStringLiteral("a"), true);
    model.addLine(QStringLiteral("b"), false);
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    model.addLine(QStringLiteral("c"), true);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.lineText(0), QStringLiteral("c"));
    QVERIFY(model.lineRed(0));
}

void EventStripTest::onlyPureRedIsRed_data()
{
    QTest::addColumn<uint>("colour");
    QTest::addColumn<bool>("red");
    QTest::newRow("red") << uint(0xFF0000) << true;
    QTest::newRow("red with alpha") << uint(qRgb(255, 0, 0)) << true;
    QTest::newRow("black") << uint(0) << false;
    QTest::newRow("blue link restored") << uint(0x0000FF) << false;
    QTest::newRow("dark red") << uint(0x800000) << false;
    QTest::newRow("near red") << uint(0xFF0001) << false;
}

void EventStripTest::onlyPureRedIsRed()
{
    QFETCH(uint, colour);
    QFETCH(bool, red);
    QCOMPARE(isRedEvent(colour), red);
}

void EventStripTest::drawsWhiteLineWithFlagColour_data()
{
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("selected");
    QTest::newRow("red") << true << false;
    QTest::newRow("black") << false << false;
    QTest::newRow("red selected") << true << true;
}

// Counts the line's pixels by colour: the fill is white whatever the
// selection, and the text is pure red or black.
void EventStripTest::drawsWhiteLineWithFlagColour()
{
    QFETCH(bool, red);
    QFETCH(bool, selected);
    EventStripModel model;
    model.addLine(QStringLiteral("ЖЖЖЖ Авария"), red);
    EventStripDelegate delegate;

    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 200, EventStripDelegate::LineHeight);
    option.state = selected ? QStyle::State_Selected | QStyle::State_HasFocus : QStyle::State_None;
    QCOMPARE(delegate.sizeHint(option, model.index(0)).height(), 16);

    QImage image(200, 16, QImage::Format_RGB32);
    image.fill(Qt::green);
    QPainter p(&image);
    delegate.paint(&p, option, model.index(0));
    p.end();

    int white = 0, ink = 0, other = 0, leftMost = 200;
    const QRgb wanted = red ? qRgb(255, 0, 0) : qRgb(0, 0, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb c = image.pixel(x, y);
            if (c == qRgb(255, 255, 255)) {
                ++white;
            } else if (c == wanted) {
                ++ink;
                leftMost = std::min(leftMost, x);
            } else if (qGreen(c) == 255 && qRed(c) == 0) {
                ++other; // unpainted background
            }
        }
    QCOMPARE(other, 0);
    QVERIFY(white > 200 * 16 / 2);
    QVERIFY(ink > 20);
    QVERIFY2(leftMost >= 2, "text starts 2 px from the left edge");
    QCOMPARE(EventStripDelegate::lineFont().pixelSize(), 13);
    QVERIFY(EventStripDelegate::lineFont().bold());
}

int main(int argc, char* argv[])
{
    // QLocale::system() reads these once, on first use.
    qputenv("LC_ALL", "ru_RU.UTF-8");
    qputenv("LANG", "ru_RU.UTF-8");
    QApplication app(argc, argv);
    EventStripTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "event_strip_test.moc"
