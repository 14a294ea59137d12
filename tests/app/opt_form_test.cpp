// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/opt_form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using tarvok::app::NumberField;
using tarvok::app::Settings;
using tarvok::app::TOptForm;

namespace {

void setSettings(Settings& s, int port, int speed, int delay, int maxArh)
{
    s.ComPort = port;
    s.ComSpeed = speed;
    s.DelayTime = delay;
    s.MaxArhDay = maxArh;
}

QList<int> settingsOf(const Settings& s)
{
    return {s.ComPort, s.ComSpeed, s.DelayTime, s.MaxArhDay};
}

int checkedPort(const TOptForm& dlg)
{
    for (int i = 1; i <= 4; ++i)
        if (dlg.findChild<QRadioButton*>(QStringLiteral("rbCOM%1").arg(i))->isChecked())
            return i;
    return 0;
}

QString shownSpeed(const TOptForm& dlg)
{
    auto* box = dlg.findChild<QComboBox*>(QStringLiteral("Box_Speed"));
    return box->currentIndex() < 0 ? QString() : box->currentText();
}

NumberField* field(const TOptForm& dlg, const char* name)
{
    return dlg.findChild<NumberField*>(QString::fromLatin1(name));
}

// Runs the modal dialog and acts on it once it is up.
bool runWith(Settings& settings, const QString& language, std::function<void(TOptForm&)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        auto* dlg = qobject_cast<TOptForm*>(QApplication::activeModalWidget());
        if (!dlg) {
            QApplication::exit(1); // the dialog never came up: fail instead of hanging
            return;
        }
        QPointer<TOptForm> guard(dlg);
        act(*dlg);
        // A failed check returns early from act: do not leave the dialog up.
        if (guard && guard->isVisible())
            guard->done(-1);
    });
    return tarvok::app::runOptionsDialog(nullptr, settings, language);
}

} // namespace

class OptFormTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Settings settings;

    QString noFile() const { return dir.path() + QStringLiteral("/none.ini"); }

private Q_SLOTS:
    void init() { setSettings(settings, 1, 115200, 500, 45); }

    void layout()
    {
        TOptForm dlg(settings, noFile());
        QCOMPARE(dlg.size(), QSize(289, 282));
        QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
        auto* speed = dlg.findChild<QComboBox*>(QStringLiteral("Box_Speed"));
        QVERIFY(!speed->isEditable());
        QStringList items;
        for (int i = 0; i < speed->count(); ++i)
            items << speed->itemText(i);
        QCOMPARE(items.join(QLatin1Char(' ')),
                 QStringLiteral("110 300 600 1200 2400 4800 9600 14400 19200 38400 56000 57600 "
                                "115200 128000 256000"));
        QVERIFY(dlg.findChild<QPushButton*>(QStringLiteral("btnOK"))->isDefault());
        QCOMPARE(field(dlg, "SpinEdit1")->text(), QStringLiteral("500"));
        QCOMPARE(field(dlg, "SpinEdit2")->text(), QStringLiteral("2"));
    }

    void activationShowsAndApplyStores_data()
    {
        QTest::addColumn<QList<int>>("stored"); // port, speed, pause, days
        QTest::addColumn<int>("portShown");     // 0: none
        QTest::addColumn<QString>("speedShown");
        QTest::addColumn<QList<int>>("applied");
        const auto row = [](const char* name, QList<int> stored, int port, const char* speed,
                            QList<int> applied) {
            QTest::newRow(name) << stored << port << QString::fromLatin1(speed) << applied;
        };
        row("COM 1 115200 500 45", {1, 115200, 500, 45}, 1, "115200", {1, 115200, 500, 45});
        row("port 4", {4, 9600, 100, 10}, 4, "9600", {4, 9600, 100, 10});
        row("port 7 shows COM 4", {7, 9600, 100, 10}, 4, "9600", {4, 9600, 100, 10});
        row("port 0 none, kept", {0, 9600, 100, 10}, 0, "9600", {0, 9600, 100, 10});
        row("port -2 none, kept", {-2, 9600, 100, 10}, 0, "9600", {-2, 9600, 100, 10});
        row("speed 250000 none, kept", {2, 250000, 100, 10}, 2, "", {2, 250000, 100, 10});
        row("first speed", {3, 110, 2, 2}, 3, "110", {3, 110, 2, 2});
        row("last speed", {3, 256000, 1000, 100}, 3, "256000", {3, 256000, 1000, 100});
    }

    void activationShowsAndApplyStores()
    {
        QFETCH(QList<int>, stored);
        QFETCH(int, portShown);
        QFETCH(QString, speedShown);
        QFETCH(QList<int>, applied);
        setSettings(settings, stored[0], stored[1], stored[2], stored[3]);

        const bool accepted = runWith(settings, noFile(), [&](TOptForm& dlg) {
            QCOMPARE(checkedPort(dlg), portShown);
            QCOMPARE(shownSpeed(dlg), speedShown);
            QCOMPARE(field(dlg, "SpinEdit1")->text(), QString::number(stored[2]));
            QCOMPARE(field(dlg, "SpinEdit2")->text(), QString::number(stored[3]));
            QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
        });
        QVERIFY(accepted);
        QCOMPARE(settingsOf(settings), applied);
    }

    void numberFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enterInField"); // else the field is left first
        QTest::addColumn<QString>("shown");     // after leaving, or at Enter
        QTest::addColumn<int>("applied");
        const auto row = [](const char* tag, const char* name, const char* typed, bool enter,
                            const char* shown, int applied) {
            QTest::newRow(tag) << QString::fromLatin1(name) << QString::fromLatin1(typed) << enter
                               << QString::fromLatin1(shown) << applied;
        };
        row("pause 1 left", "SpinEdit1", "1", false, "2", 2);
        row("pause 999 left", "SpinEdit1", "999", false, "999", 999);
        row("pause 5000 cut to 3", "SpinEdit1", "5000", false, "500", 500);
        row("pause -5 left", "SpinEdit1", "-5", false, "2", 2);
        row("pause 1 enter", "SpinEdit1", "1", true, "1", 1);
        row("pause letters refused", "SpinEdit1", "abc", true, "500", 500);
        row("pause bare sign", "SpinEdit1", "-", true, "-", 2);
        row("days 150 left", "SpinEdit2", "150", false, "100", 100);
        row("days 1 left", "SpinEdit2", "1", false, "2", 2);
        row("days 150 enter", "SpinEdit2", "150", true, "150", 150);
        row("days +7 enter", "SpinEdit2", "+7", true, "+7", 7);
        row("days 4x2 left", "SpinEdit2", "4x2", false, "42", 42);
    }

    void numberFields()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(bool, enterInField);
        QFETCH(QString, shown);
        QFETCH(int, applied);

        const bool accepted = runWith(settings, noFile(), [&](TOptForm& dlg) {
            auto* edit = field(dlg, name.toLatin1().constData());
            auto* other =
                field(dlg, name == QStringLiteral("SpinEdit1") ? "SpinEdit2" : "SpinEdit1");
            QApplication::setActiveWindow(&dlg);
            edit->setFocus();
            QVERIFY(edit->hasFocus());
            edit->selectAll();
            QTest::keyClicks(edit, typed);
            if (enterInField) {
                QCOMPARE(edit->text(), shown);
                QTest::keyClick(edit, Qt::Key_Return);
            } else {
                other->setFocus();
                QCOMPARE(edit->text(), shown);
                QTest::keyClick(other, Qt::Key_Return);
            }
        });
        QVERIFY(accepted);
        QCOMPARE(name == QStringLiteral("SpinEdit1") ? int(settings.DelayTime)
                                                     : int(settings.MaxArhDay),
                 applied);
    }

    void leavingWithoutApplyChangesNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Отменить") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }

    void leavingWithoutApplyChangesNothing()
    {
        QFETCH(int, how);
        const bool accepted = runWith(settings, noFile(), [how](TOptForm& dlg) {
            dlg.findChild<QRadioButton*>(QStringLiteral("rbCOM3"))->setChecked(true);
            dlg.findChild<QComboBox*>(QStringLiteral("Box_Speed"))->setCurrentIndex(0);
            field(dlg, "SpinEdit1")->setText(QStringLiteral("42"));
            field(dlg, "SpinEdit2")->setText(QStringLiteral("9"));
            if (how == 0)
                QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("btnCancel")),
                                  Qt::LeftButton);
            else if (how == 1)
                QTest::keyClick(&dlg, Qt::Key_Escape);
            else
                dlg.close();
        });
        QVERIFY(!accepted);
        QCOMPARE(settingsOf(settings), (QList<int>{1, 115200, 500, 45}));
    }

    void applyTakesTheEdits()
    {
        const bool accepted = runWith(settings, noFile(), [](TOptForm& dlg) {
            dlg.findChild<QRadioButton*>(QStringLiteral("rbCOM2"))->setChecked(true);
            dlg.findChild<QComboBox*>(QStringLiteral("Box_Speed"))->setCurrentIndex(6);
            field(dlg, "SpinEdit1")->setText(QStringLiteral("250"));
            field(dlg, "SpinEdit2")->setText(QStringLiteral("30"));
            QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
        });
        QVERIFY(accepted);
        QCOMPARE(settingsOf(settings), (QList<int>{2, 9600, 250, 30}));
    }

    void reactivationDropsUnappliedEdits()
    {
        TOptForm dlg(settings, noFile());
        QWidget elsewhere;
        dlg.show();
        elsewhere.show();
        QApplication::setActiveWindow(&dlg);
        dlg.findChild<QRadioButton*>(QStringLiteral("rbCOM3"))->setChecked(true);
        dlg.findChild<QComboBox*>(QStringLiteral("Box_Speed"))->setCurrentIndex(0);
        field(dlg, "SpinEdit1")->setText(QStringLiteral("42"));
        settings.MaxArhDay = 60; // changed elsewhere while the dialog was open

        QApplication::setActiveWindow(&elsewhere);
        QApplication::setActiveWindow(&dlg);

        QCOMPARE(checkedPort(dlg), 1);
        QCOMPARE(shownSpeed(dlg), QStringLiteral("115200"));
        QCOMPARE(field(dlg, "SpinEdit1")->text(), QStringLiteral("500"));
        QCOMPARE(field(dlg, "SpinEdit2")->text(), QStringLiteral("60"));
    }

    void captions_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected"); // caption, grpCOM, grpSpeed, grpArhiv,
                                                   // labSpeed, labBits, labMax, btnOK, btnCancel
        const QStringList defaults{QStringLiteral("Настройки"),
                                   QStringLiteral("COM-порт"),
                                   QStringLiteral("Скорость COM-порта"),
                                   QStringLiteral("Архив"),
                                   QStringLiteral("Скорость"),
                                   QStringLiteral("бит/с"),
                                   QStringLiteral("Максимальное количество дней:"),
                                   QStringLiteral("Применить"),
                                   QStringLiteral("Отменить")};
        QTest::newRow("no file") << QByteArray() << defaults;
        QTest::newRow("no Option section") << QByteArray("[Main]\nbtnOK=x\n") << defaults;
        QTest::newRow("own section")
            << QByteArray("[Option]\nOptForm=Settings\ngrpCOM= Serial port \ngrpSpeed=Speed\n"
                          "grpArhiv=\nlabSpeed=Rate\nlabBits=bit/s\nlabMax=Days:\n"
                          "btnOK=Apply\nbtnCancel=Cancel\nGroupBox1=x\nLabel1=y\n")
            << QStringList{QStringLiteral("Settings"), QStringLiteral("Serial port"),
                           QStringLiteral("Speed"),    QString(),
                           QStringLiteral("Rate"),     QStringLiteral("bit/s"),
                           QStringLiteral("Days:"),    QStringLiteral("Apply"),
                           QStringLiteral("Cancel")};
    }

    void captions()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        QString path = noFile();
        if (!file.isEmpty()) {
            path = dir.path() + QStringLiteral("/lang.ini");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(file);
        }
        TOptForm dlg(settings, path);
        const auto title = [&dlg](const char* name) {
            return dlg.findChild<QGroupBox*>(QString::fromLatin1(name))->title();
        };
        const auto text = [&dlg](const char* name) {
            QObject* o = dlg.findChild<QObject*>(QString::fromLatin1(name));
            if (auto* l = qobject_cast<QLabel*>(o))
                return l->text();
            return qobject_cast<QAbstractButton*>(o)->text();
        };
        QCOMPARE(title("grpCOM"), QStringLiteral(" COM-порт "));
        QCOMPARE(title("grpSpeed"), QStringLiteral(" Скорость COM-порта "));
        QCOMPARE(title("grpArhiv"), QStringLiteral(" Архив "));

        dlg.show();
        const QStringList actual{dlg.windowTitle(), title("grpCOM"),  title("grpSpeed"),
                                 title("grpArhiv"), text("labSpeed"), text("labBits"),
                                 text("labMax"),    text("btnOK"),    text("btnCancel")};
        QCOMPARE(actual, expected);
        QCOMPARE(title("GroupBox1"), QStringLiteral(" Время между сеансами обмена "));
        QCOMPARE(text("Label1"), QStringLiteral("Время (милисек.):"));
    }
};

QTEST_MAIN(OptFormTest)
#include "opt_form_test.moc"
