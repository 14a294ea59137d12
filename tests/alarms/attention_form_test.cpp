// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/attention_form.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <memory>

using tarvok::alarms::AttentionOpener;
using tarvok::alarms::TAttentionForm;

namespace {

const QColor red(0xFF, 0x00, 0x00);
const QColor silver(0xC0, 0xC0, 0xC0);

QList<TAttentionForm*> liveWindows()
{
    QList<TAttentionForm*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TAttentionForm*>(w))
            found << form;
    return found;
}

QString lineColours(const TAttentionForm& form)
{
    QString s;
    for (int k = 1; k <= 8; ++k) {
        auto* label = form.findChild<QLabel*>(QStringLiteral("labEvent%1").arg(k));
        const QColor c = label->palette().color(QPalette::WindowText);
        s += c == red ? QLatin1Char('R') : c == silver ? QLatin1Char('s') : QLatin1Char('?');
    }
    return s;
}

} // namespace

class AttentionFormTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::uint8_t attention = 0;

    QString noFile() const { return dir.path() + QStringLiteral("/none.ini"); }
    TAttentionForm::ByteSource source()
    {
        return [this] { return attention; };
    }

private Q_SLOTS:
    void cleanup()
    {
        qDeleteAll(liveWindows());
        attention = 0;
    }

    void colours_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("lines"); // line 1 first
        QTest::newRow("nothing active") << 0x00 << QStringLiteral("ssssssss");
        QTest::newRow("first and last") << 0x81 << QStringLiteral("RssssssR");
        QTest::newRow("line 3 only") << 0x04 << QStringLiteral("ssRsssss");
        QTest::newRow("all") << 0xFF << QStringLiteral("RRRRRRRR");
    }

    void colours()
    {
        QFETCH(int, byte);
        QFETCH(QString, lines);
        attention = static_cast<std::uint8_t>(byte);
        TAttentionForm form(noFile(), source());
        QCOMPARE(lineColours(form), lines);
    }

    void changeShowsAtTheNextTick()
    {
        TAttentionForm form(noFile(), source());
        auto* timer = form.findChild<QTimer*>(QStringLiteral("EventTimer"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 500);
        QVERIFY(timer->isActive());

        attention = 0x81;
        QCOMPARE(lineColours(form), QStringLiteral("ssssssss"));
        form.EventTimerTimer();
        QCOMPARE(lineColours(form), QStringLiteral("RssssssR"));
        attention = 0x00;
        form.EventTimerTimer();
        QCOMPARE(lineColours(form), QStringLiteral("ssssssss"));
    }

    void layout()
    {
        TAttentionForm form(noFile(), source());
        QVERIFY(form.windowFlags().testFlag(Qt::Tool));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(form.size(), QSize(213, 248));
        form.show();
        for (int k = 1; k <= 8; ++k) {
            auto* panel = form.findChild<QFrame*>(QStringLiteral("Panel%1").arg(k));
            QVERIFY(panel);
            QCOMPARE(panel->geometry(), QRect(0, (k - 1) * 31, 213, 31));
            QCOMPARE(panel->frameShadow(), QFrame::Sunken);
            QCOMPARE(panel->palette().color(QPalette::Window), QColor(0xDF, 0xDF, 0xDE));
            auto* label = panel->findChild<QLabel*>(QStringLiteral("labEvent%1").arg(k));
            QVERIFY(label);
            QVERIFY(label->wordWrap());
            QCOMPARE(label->alignment(), Qt::AlignCenter);
            QCOMPARE(label->font().pixelSize(), 11);
            QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
        }
    }

    void texts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line8");
        const QString line1 = QStringLiteral(
            "Нет сигнала \"Разрешение на выгрузку дозаторов\" от координатора для печи 1");
        const QString line8 =
            QStringLiteral("В координаторе нет сигнала \"Конец выгрузки\" от печи 2");
        QTest::newRow("no file") << QByteArray() << QStringLiteral("Внимание") << line1 << line8;
        QTest::newRow("no Attention section")
            << QByteArray("[Main]\nbtnAttention=Attention\n[Table]\nlabEvent1=x\n")
            << QStringLiteral("Внимание") << line1 << line8;
        QTest::newRow("own section")
            << QByteArray("[Attention]\nAttentionForm=Attention\nlabEvent8=Furnace 2 end\n")
            << QStringLiteral("Attention") << line1 << QStringLiteral("Furnace 2 end");
    }

    void texts()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, caption);
        QFETCH(QString, line1);
        QFETCH(QString, line8);
        QString path = noFile();
        if (!file.isEmpty()) {
            path = dir.path() + QStringLiteral("/lang.ini");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(file);
        }
        TAttentionForm form(path, source());
        QCOMPARE(form.windowTitle(), caption);
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("labEvent1"))->text(), line1);
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("labEvent8"))->text(), line8);
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("labEvent3"))->text(),
                 QStringLiteral("Нет пустого печного бункера печи 1"));
    }

    void atMostOneWindow()
    {
        AttentionOpener opener(source());
        QVERIFY(opener.open(noFile()));
        TAttentionForm* first = opener.window();
        QVERIFY(first && first->isVisible());
        QVERIFY(!opener.open(noFile()));
        QCOMPARE(liveWindows(), QList<TAttentionForm*>{first});

        QPointer<TAttentionForm> closed(first);
        QVERIFY(first->close());
        // Before the closed window is deleted, a click already makes a new one.
        QVERIFY(opener.open(noFile()));
        QVERIFY(opener.window() != closed.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(closed.isNull());
        QCOMPARE(liveWindows(), QList<TAttentionForm*>{opener.window()});
        QVERIFY(!opener.open(noFile()));
    }

    void openerBeforeItsWindowGoes()
    {
        auto opener = std::make_unique<AttentionOpener>(source());
        opener->open(noFile());
        QPointer<TAttentionForm> form(opener->window());
        opener.reset();
        QVERIFY(form);
        QVERIFY(form->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }
};

QTEST_MAIN(AttentionFormTest)
#include "attention_form_test.moc"
