// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tasks/table_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using tarvok::tasks::TaskBlock;
using tarvok::tasks::TaskLinkPort;
using tarvok::tasks::TaskTransfer;
using tarvok::tasks::TTableForm;

namespace {

struct FakePort : TaskLinkPort {
    QStringList log;
    int answer = 0;
    std::vector<TaskBlock> written;
    void holdPolling() override { log << QStringLiteral("hold"); }
    void resumePolling() override { log << QStringLiteral("resume"); }
    int writeTaskBlock(const TaskBlock& block) override
    {
        log << QStringLiteral("write");
        written.push_back(block);
        return answer;
    }
};

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
};

// Answers each message box as it is shown, in order, and remembers what it
// showed.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QList<QMessageBox::StandardButton> answers) : answers_(answers)
    {
        qApp->installEventFilter(this);
    }
    ~BoxAnswerer() override { qApp->removeEventFilter(this); }
    QList<SeenBox> seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) {
            seen.append({box->windowTitle(), box->text(), box->icon()});
            const auto answer = answers_.isEmpty() ? QMessageBox::Ok : answers_.takeFirst();
            QMetaObject::invokeMethod(
                box, [box, answer] { box->button(answer)->click(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QList<QMessageBox::StandardButton> answers_;
};

QString noLanguageFile(const QTemporaryDir& dir)
{
    return dir.path() + QStringLiteral("/none.ini");
}

} // namespace

class TableFormTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    FakePort port;
    TaskBlock snapshot{};
    std::unique_ptr<TaskTransfer> transfer;

    std::unique_ptr<TTableForm> makeForm(const QString& language = {})
    {
        auto form = std::make_unique<TTableForm>(
            language.isEmpty() ? noLanguageFile(dir) : language, *transfer);
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        return form;
    }

private Q_SLOTS:
    void init()
    {
        port = FakePort{};
        snapshot.fill(0);
        transfer = std::make_unique<TaskTransfer>(port, snapshot, [](int) {});
    }

    void pumpPanels_data()
    {
        QTest::addColumn<int>("pump");
        QTest::addColumn<QPoint>("position");
        const int xs[] = {12, 146, 280, 414, 548, 684, 820};
        for (int pump = 1; pump <= 13; ++pump) {
            const QPoint at = pump <= 7 ? QPoint(xs[pump - 1], 14) : QPoint(xs[pump - 8], 178);
            QTest::addRow("НАСОС %02d", pump) << pump << at;
        }
    }

    void pumpPanels()
    {
        QFETCH(int, pump);
        QFETCH(QPoint, position);
        auto form = makeForm();
        const QString number = QStringLiteral("%1").arg(pump, 2, 10, QLatin1Char('0'));

        auto* panel = form->findChild<QFrame*>(QStringLiteral("panPump") + number);
        QVERIFY(panel);
        QCOMPARE(panel->geometry(), QRect(position, QSize(131, 159)));
        QCOMPARE(panel->palette().color(QPalette::Window), QColor(0xE8, 0xFF, 0xE8));

        auto* head = panel->findChild<QLabel*>(QStringLiteral("labPump") + number);
        QVERIFY(head);
        QCOMPARE(head->text(), QStringLiteral("НАСОС ") + number);
        QCOMPARE(head->palette().color(QPalette::Window), QColor(0x3E, 0x61, 0xDB));
        QCOMPARE(head->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(head->font().bold());
        // What is painted, not only what the palette holds: an inherited
        // background role once painted these in button colours.
        const QImage shown = panel->grab().toImage();
        QCOMPARE(QColor(shown.pixel(panel->width() / 2, 150)), QColor(0xE8, 0xFF, 0xE8));
        QCOMPARE(QColor(shown.pixel(head->x() + 2, head->y() + 2)), QColor(0x3E, 0x61, 0xDB));

        auto* min = panel->findChild<QSpinBox*>(QStringLiteral("SpinEdit%1").arg(2 * pump - 1));
        auto* max = panel->findChild<QSpinBox*>(QStringLiteral("SpinEdit%1").arg(2 * pump));
        QVERIFY(min && max);
        QCOMPARE(min->minimum(), 0);
        QCOMPARE(min->maximum(), 1000);
        QCOMPARE(max->minimum(), 0);
        QCOMPARE(max->maximum(), 8);
        QCOMPARE(min->value(), 0);
        QCOMPARE(max->value(), 0);
        const QStringList labels = [panel] {
            QStringList l;
            for (auto* label : panel->findChildren<QLabel*>())
                l << label->text();
            return l;
        }();
        QVERIFY(labels.contains(QStringLiteral("Задание мин. тока (А)")));
        QVERIFY(labels.contains(QStringLiteral("Задание макс. тока (А)")));
    }

    void fixedParts()
    {
        auto form = makeForm();
        auto* rec = form->findChild<QPushButton*>(QStringLiteral("btnRec1"));
        QVERIFY(rec);
        QCOMPARE(rec->geometry(), QRect(362, 348, 191, 31));
        QVERIFY(rec->isDefault());
        QCOMPARE(rec->palette().color(QPalette::ButtonText), QColor(Qt::red));
        auto* name = form->findChild<QLabel*>(QStringLiteral("labName"));
        QVERIFY(name);
        QVERIFY(name->font().bold());
        QCOMPARE(name->font().pixelSize(), 19);
        QCOMPARE(name->palette().color(QPalette::WindowText), QColor(0x37, 0x6F, 0x6F));
        QVERIFY(TTableForm(noLanguageFile(dir), *transfer).testAttribute(Qt::WA_DeleteOnClose));

        form->show();
        for (const char* hidden : {"sePortion1", "panCnt1", "labPortion1", "panCnt2", "grpColor",
                                   "labMat0", "labMat9"}) {
            auto* w = form->findChild<QWidget*>(QString::fromLatin1(hidden));
            QVERIFY2(w, hidden);
            QVERIFY2(!w->isVisible(), hidden);
        }
        const auto boxes = form->findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 10);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(boxes[i]->text(), QStringLiteral("ПБ%1").arg(i + 1));
            QVERIFY(boxes[i]->isChecked());
        }
    }

    void texts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected"); // caption, labName, btnClose, btnRec1, panCnt1,
                                                   // labPortion1, grpColor, labMat0, labMat9,
                                                   // lngWantRec, lngErrorRec
        const QStringList defaults{QStringLiteral("Таблица заданий"),
                                   QStringLiteral("Таблица заданий"),
                                   QStringLiteral("Закрыть"),
                                   QStringLiteral("Передать задание"),
                                   QStringLiteral("КОЛИЧЕСТВО ПОРЦИЙ"),
                                   QStringLiteral("Количество порций (1 - 10)"),
                                   QStringLiteral("Коды и цвета материалов"),
                                   QStringLiteral("0 - Нет материала"),
                                   QStringLiteral("9 - Шунгит"),
                                   QStringLiteral("Вы действительно желаете передать задание?"),
                                   QStringLiteral("Задание не передано.")};
        QTest::newRow("no file") << QByteArray() << defaults;
        QTest::newRow("other section only") << QByteArray("[Main]\nbtnClose=Close\n") << defaults;
        QTest::newRow("every key")
            << QByteArray("[Table]\nTableForm=Tasks\nlabName=Task table\nbtnClose=Close\n"
                          "btnRec1=Send\npanCnt1=PORTIONS\nlabPortion1=Portions\n"
                          "grpColor=Materials\nlabMat0=0 - none\nlabMat9=9 - shungite\n"
                          "lngWantRec=Send it?\nlngErrorRec=Not sent.\n"
                          "panCnt2=ignored\n")
            << QStringList{QStringLiteral("Tasks"),        QStringLiteral("Task table"),
                           QStringLiteral("Close"),        QStringLiteral("Send"),
                           QStringLiteral("PORTIONS"),     QStringLiteral("Portions"),
                           QStringLiteral("Materials"),    QStringLiteral("0 - none"),
                           QStringLiteral("9 - shungite"), QStringLiteral("Send it?"),
                           QStringLiteral("Not sent.")};
    }

    void texts()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        QString path = noLanguageFile(dir);
        if (!file.isEmpty()) {
            path = dir.path() + QStringLiteral("/lang.ini");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(file);
        }
        auto form = makeForm(path);
        const auto text = [&form](const char* name) {
            QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(name));
            if (auto* l = qobject_cast<QLabel*>(w))
                return l->text();
            if (auto* b = qobject_cast<QPushButton*>(w))
                return b->text();
            if (auto* g = qobject_cast<QGroupBox*>(w))
                return g->title();
            return QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
        };
        const QStringList actual{form->windowTitle(), text("labName"),     text("btnClose"),
                                 text("btnRec1"),     text("panCnt1"),     text("labPortion1"),
                                 text("grpColor"),    text("labMat0"),     text("labMat9"),
                                 form->wantRecText(), form->errorRecText()};
        QCOMPARE(actual, expected);
        QCOMPARE(text("panCnt2"), QStringLiteral("ИСКЛЮЧЕНИЕ ИЗ РАБОТЫ ПЕЧНЫХ БУНКЕРОВ"));
    }

    void portionsFromSnapshot_data()
    {
        QTest::addColumn<int>("byte0");
        QTest::addColumn<int>("shown");
        QTest::newRow("before any read") << 0 << 1;
        QTest::newRow("7 portions") << 7 << 7;
        QTest::newRow("10 portions") << 10 << 10;
        QTest::newRow("12 clamped") << 12 << 10;
        QTest::newRow("255 clamped") << 255 << 10;
    }

    void portionsFromSnapshot()
    {
        QFETCH(int, byte0);
        QFETCH(int, shown);
        snapshot[0] = static_cast<std::uint8_t>(byte0);
        auto form = makeForm();
        QCOMPARE(form->findChild<QSpinBox*>(QStringLiteral("sePortion1"))->value(), shown);
    }

    void transferThroughTheWindow_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("errorShown");
        QTest::newRow("accepted") << 0 << false;
        QTest::newRow("refused 1") << 1 << true;
        QTest::newRow("refused 3, not reported") << 3 << false;
        QTest::newRow("no answer 5") << 5 << true;
    }

    void transferThroughTheWindow()
    {
        QFETCH(int, answer);
        QFETCH(bool, errorShown);
        snapshot.fill(7);
        port.answer = answer;
        auto form = makeForm();
        form->show();
        // What the operator typed never reaches the block.
        form->findChild<QSpinBox*>(QStringLiteral("SpinEdit1"))->setValue(999);
        form->findChild<QSpinBox*>(QStringLiteral("SpinEdit26"))->setValue(8);

        BoxAnswerer boxes({QMessageBox::Yes, QMessageBox::Ok});
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("btnRec1")), Qt::LeftButton);

        QCOMPARE(port.log, (QStringList{QStringLiteral("hold"), QStringLiteral("write"),
                                        QStringLiteral("resume")}));
        QCOMPARE(port.written.size(), size_t(1));
        QVERIFY(port.written[0] == TaskBlock{});
        QCOMPARE(boxes.seen.size(), errorShown ? 2 : 1);
        QCOMPARE(boxes.seen[0].caption, QStringLiteral("Таблица заданий"));
        QCOMPARE(boxes.seen[0].text, QStringLiteral("Вы действительно желаете передать задание?"));
        if (errorShown) {
            QCOMPARE(boxes.seen[1].text, QStringLiteral("Задание не передано."));
            QCOMPARE(boxes.seen[1].icon, QMessageBox::Critical);
        }
        TaskBlock expected;
        expected.fill(answer == 0 ? 0 : 7);
        QVERIFY(snapshot == expected);

        // The next window shows what the controller now holds: no portion
        // count after an accepted transfer, so the editor's minimum.
        auto next = makeForm();
        QCOMPARE(next->findChild<QSpinBox*>(QStringLiteral("sePortion1"))->value(),
                 answer == 0 ? 1 : 7);
    }

    void declinedThroughTheWindow()
    {
        auto form = makeForm();
        form->show();
        BoxAnswerer boxes({QMessageBox::No});
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("btnRec1")), Qt::LeftButton);
        QCOMPARE(boxes.seen.size(), 1);
        QVERIFY(port.log.isEmpty());
    }

    void closeButtonDestroysTheWindow()
    {
        QPointer<TTableForm> form = new TTableForm(noLanguageFile(dir), *transfer);
        form->show();
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("btnClose")),
                          Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }
};

QTEST_MAIN(TableFormTest)
#include "table_form_test.moc"
