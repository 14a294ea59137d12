// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "mimic/mnemo_form.h"

#include "mimic/mimic_picture.h"
#include "mimic/pictures.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using tarvok::mimic::MimicPicture;
using tarvok::mimic::TMnemoForm;

namespace {

constexpr QRgb Water = 0xFF0093DDu;
constexpr QRgb LightWater = 0xFF79D3FFu;
constexpr QRgb Grey = 0xFF808080u;

const QStringList MotorNames = {
    QStringLiteral("H13"), QStringLiteral("H12"), QStringLiteral("H11"), QStringLiteral("H10"),
    QStringLiteral("H09"), QStringLiteral("H08"), QStringLiteral("H07"), QStringLiteral("H06"),
    QStringLiteral("H05"), QStringLiteral("H04"), QStringLiteral("H03"), QStringLiteral("H02"),
    QStringLiteral("H01")};

const QImage& pictureOf(const QWidget& form, const QString& name)
{
    const auto* pic = form.findChild<MimicPicture*>(name);
    Q_ASSERT(pic);
    return pic->image();
}

using OffscreenOf = std::function<const QImage*(const TMnemoForm&)>;

} // namespace

Q_DECLARE_METATYPE(OffscreenOf)

class MnemoFormTest : public QObject {
    Q_OBJECT

private slots:
    void motorsAlternateOnlyWhenRunning();
    void bubblesShowOnlyThroughTeal_data();
    void bubblesShowOnlyThroughTeal();
    void pumpBranchesShowRunningState();
    void newWindowStartsFresh();
    void closingReleasesAndStopsFrames();
    void closeButtonRemovesMdiSubwindow();
    void loadLanguage_data();
    void loadLanguage();
    void tickWritesDateAndTime();
};

void MnemoFormTest::motorsAlternateOnlyWhenRunning()
{
    TMnemoForm form(QString{});
    const QImage& mot1 = pictureOf(form, QStringLiteral("imgMot1"));
    const QImage& mot2 = pictureOf(form, QStringLiteral("imgMot2"));
    QVERIFY(mot1 != mot2);
    for (int frame = 1; frame <= 3; ++frame) {
        form.DrawMnemo();
        for (int k = 0; k < TMnemoForm::PumpCount; ++k) {
            const bool second = TMnemoForm::pumpRunning(k) && frame % 2 == 1;
            QVERIFY2(pictureOf(form, MotorNames[k]) == (second ? mot2 : mot1),
                     qPrintable(QStringLiteral("frame %1 %2").arg(frame).arg(MotorNames[k])));
        }
    }
    int running = 0;
    for (int k = 0; k < TMnemoForm::PumpCount; ++k)
        running += TMnemoForm::pumpRunning(k);
    QCOMPARE(running, 6);
}

void MnemoFormTest::bubblesShowOnlyThroughTeal_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<OffscreenOf>("offscreen");
    QTest::addColumn<QString>("shown"); // empty: not copied 1:1 anywhere
    QTest::addColumn<int>("spriteY");

    QTest::newRow("main pipe") << QStringLiteral("imgMainTube")
                               << OffscreenOf([](const TMnemoForm& f) { return f.offscreenMainTube(); })
                               << QString() << 0;
    QTest::newRow("riser") << QStringLiteral("imgHiTube")
                           << OffscreenOf([](const TMnemoForm& f) { return f.offscreenHiTube(); })
                           << QStringLiteral("HiTube") << 0;
    QTest::newRow("short pipe") << QStringLiteral("imgShortTube")
                                << OffscreenOf([](const TMnemoForm& f) { return f.offscreenShortTube(); })
                                << QStringLiteral("ShortTube") << 0;
    QTest::newRow("tower") << QStringLiteral("imgTower")
                           << OffscreenOf([](const TMnemoForm& f) { return f.offscreenTower(); })
                           << QStringLiteral("Tower") << -1;
}

void MnemoFormTest::bubblesShowOnlyThroughTeal()
{
    QFETCH(QString, source);
    QFETCH(OffscreenOf, offscreen);
    QFETCH(QString, shown);
    QFETCH(int, spriteY);

    TMnemoForm form(QString{});
    const QImage& sprite = pictureOf(form, source);
    int lightSeen = 0;
    for (int frame = 0; frame < 4; ++frame) {
        form.DrawMnemo();
        const QImage& off = *offscreen(form);
        for (int y = 0; y < off.height(); ++y) {
            const int sy = y - spriteY;
            if (sy >= sprite.height())
                continue;
            for (int x = 0; x < off.width(); ++x) {
                const QRgb s = sprite.pixel(x, sy);
                const QRgb o = off.pixel(x, y);
                if (s != tarvok::mimic::Teal) {
                    if (o != s)
                        QFAIL(qPrintable(QStringLiteral("bubble over the picture at %1,%2").arg(x).arg(y)));
                } else {
                    if (o != Water && o != LightWater && o != 0xFF000000u)
                        QFAIL(qPrintable(QStringLiteral("not water at %1,%2").arg(x).arg(y)));
                    lightSeen += o == LightWater;
                }
            }
        }
        if (!shown.isEmpty()) {
            const QImage& vis = pictureOf(form, shown);
            QCOMPARE(vis, off.copy(0, 0, vis.width(), vis.height()));
        }
    }
    QVERIFY(lightSeen > 0);
}

void MnemoFormTest::pumpBranchesShowRunningState()
{
    TMnemoForm form(QString{});
    form.DrawMnemo();
    const QImage& tube = pictureOf(form, QStringLiteral("Tube1"));
    const QImage& main = *form.offscreenMainTube();
    QCOMPARE(tube.copy(0, 0, 976, 43), main.copy(0, 0, 976, 43));
    for (int k = 0; k < TMnemoForm::PumpCount; ++k) {
        const int left = 23 + 76 * k;
        QCOMPARE(tube.pixel(left + 6, 52), TMnemoForm::pumpRunning(k) ? Water : Grey);
        for (int y = 43; y < 59; ++y) {
            QCOMPARE(tube.pixel(left, y), Grey);
            QCOMPARE(tube.pixel(left + 13, y), Grey);
        }
        QCOMPARE(tube.pixel(left + 14, 52), 0xFFDFDFDEu);
        QCOMPARE(tube.pixel(left - 1, 52), 0xFFDFDFDEu);
    }
}

void MnemoFormTest::newWindowStartsFresh()
{
    auto positions = [](TMnemoForm& f) {
        QList<int> out;
        for (int s = 0; s < 3; ++s)
            for (const auto& p : f.bubbles().mainPipe.set(s))
                out << p.x << p.y;
        return out;
    };
    TMnemoForm first(QString{});
    const QList<int> a = positions(first);
    first.close();
    TMnemoForm second(QString{});
    QVERIFY(a != positions(second));
    second.DrawMnemo();
    QCOMPARE(second.framesDrawn(), 1);
}

void MnemoFormTest::closingReleasesAndStopsFrames()
{
    QPointer<TMnemoForm> form = new TMnemoForm(QString{});
    form->show();
    auto* timer = form->findChild<QTimer*>(QStringLiteral("DrawTimer"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 50);
    QVERIFY(form->offscreenMainTube() && form->offscreenTower());

    form->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
    QVERIFY(!timer->isActive());
    QVERIFY(!form->offscreenMainTube());
    QVERIFY(!form->offscreenHiTube());
    QVERIFY(!form->offscreenShortTube());
    QVERIFY(!form->offscreenTower());
    const int frames = form->framesDrawn();
    form->DrawTimerTimer();
    form->DrawMnemo();
    QCOMPARE(form->framesDrawn(), frames);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form.isNull());
}

void MnemoFormTest::closeButtonRemovesMdiSubwindow()
{
    QMdiArea area;
    QPointer<TMnemoForm> form = new TMnemoForm(QString{});
    QMdiSubWindow* sub = area.addSubWindow(form);
    QPointer<QMdiSubWindow> guard = sub;
    area.show();
    sub->showMaximized();
    QVERIFY(sub->isMaximized());

    form->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form.isNull());
    QVERIFY(area.subWindowList().isEmpty());
}

void MnemoFormTest::loadLanguage_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("button");

    QTest::newRow("translated") << QByteArray("[Main]\nbtnClose=Wrong\n[Mnemo]\nMnemoForm=Station\n"
                                              "btnClose=Close\n")
                                << QStringLiteral("Station") << QStringLiteral("Close");
    QTest::newRow("one key missing") << QByteArray("[Mnemo]\nbtnClose=Close\n")
                                     << QString::fromUtf8("Мнемосхема") << QStringLiteral("Close");
    QTest::newRow("no section") << QByteArray("[Main]\nMnemoForm=Wrong\n")
                                << QString::fromUtf8("Мнемосхема") << QString::fromUtf8("Закрыть");
    QTest::newRow("no file") << QByteArray() << QString::fromUtf8("Мнемосхема")
                             << QString::fromUtf8("Закрыть");
}

void MnemoFormTest::loadLanguage()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, caption);
    QFETCH(QString, button);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("english.ini"));
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    TMnemoForm form(path);
    QCOMPARE(form.objectName(), QStringLiteral("MnemoForm"));
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("btnClose"))->text(), button);
}

void MnemoFormTest::tickWritesDateAndTime()
{
    TMnemoForm form(QString{});
    form.DrawTimerTimer();
    QVERIFY(!form.findChild<QLabel*>(QStringLiteral("LblDate"))->text().isEmpty());
    QVERIFY(!form.findChild<QLabel*>(QStringLiteral("LblTime"))->text().isEmpty());
    QCOMPARE(form.framesDrawn(), 1);
}

QTEST_MAIN(MnemoFormTest)
#include "mnemo_form_test.moc"
