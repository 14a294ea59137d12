// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/opt_form.h"

#include "app/options_apply.h"
#include "platform/profile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QValidator>

namespace tarvok::app {

namespace {

// Digits with an optional leading sign and no more than maxLength characters;
// anything else is refused as it is typed. The length limit is on typing
// only (not QLineEdit::maxLength, which also cuts what the program sets): a
// stored 1000 in a field limited to three characters is still shown whole.
class TypedNumberValidator : public QValidator {
public:
    TypedNumberValidator(int maxLength, QObject* parent) : QValidator(parent), maxLength_(maxLength)
    {
    }

    State validate(QString& input, int&) const override
    {
        if (input.size() > maxLength_)
            return Invalid;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            const bool sign = i == 0 && (c == QLatin1Char('+') || c == QLatin1Char('-'));
            if (!sign && !(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
                return Invalid;
        }
        return Acceptable;
    }

private:
    int maxLength_;
};

} // namespace

NumberField::NumberField(int minimum, int maximum, int maxLength, QWidget* parent)
    : QLineEdit(parent), minimum_(minimum), maximum_(maximum)
{
    setValidator(new TypedNumberValidator(maxLength, this));
}

int NumberField::value() const
{
    return readNumberField(text(), minimum_);
}

void NumberField::setValue(int value)
{
    setText(QString::number(value));
}

void NumberField::focusOutEvent(QFocusEvent* event)
{
    setValue(clampNumberField(value(), minimum_, maximum_));
    QLineEdit::focusOutEvent(event);
}

void NumberField::keyPressEvent(QKeyEvent* event)
{
    const int step = event->key() == Qt::Key_Up ? 1 : event->key() == Qt::Key_Down ? -1 : 0;
    if (step == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    setValue(clampNumberField(value() + step, minimum_, maximum_));
    selectAll();
}

TOptForm::TOptForm(Settings& settings, const QString& languageFilePath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings), languageFilePath_(languageFilePath)
{
    setObjectName(QStringLiteral("OptForm"));
    setWindowTitle(QStringLiteral("Настройки"));
    setFixedSize(289, 282);
    setModal(true);

    const int x = 16;
    const int width = 257;

    grpCOM_ = new QGroupBox(QStringLiteral(" COM-порт "), this);
    grpCOM_->setObjectName(QStringLiteral("grpCOM"));
    grpCOM_->setGeometry(x, 8, width, 93);
    comButtons_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* rb = new QRadioButton(QStringLiteral("COM %1").arg(i + 1), grpCOM_);
        rb->setObjectName(QStringLiteral("rbCOM%1").arg(i + 1));
        rb->setGeometry(12 + (i / 2) * 120, 24 + (i % 2) * 28, 100, 22);
        comButtons_->addButton(rb, i);
    }

    grpSpeed_ = new QGroupBox(QStringLiteral(" Скорость COM-порта "), this);
    grpSpeed_->setObjectName(QStringLiteral("grpSpeed"));
    grpSpeed_->setGeometry(x, 105, width, 45);
    labSpeed_ = new QLabel(QStringLiteral("Скорость"), grpSpeed_);
    labSpeed_->setObjectName(QStringLiteral("labSpeed"));
    labSpeed_->setGeometry(10, 18, 70, 21);
    boxSpeed_ = new QComboBox(grpSpeed_);
    boxSpeed_->setObjectName(QStringLiteral("Box_Speed"));
    boxSpeed_->setEditable(false);
    boxSpeed_->addItems(comSpeedItems());
    boxSpeed_->setGeometry(86, 16, 100, 22);
    labBits_ = new QLabel(QStringLiteral("бит/с"), grpSpeed_);
    labBits_->setObjectName(QStringLiteral("labBits"));
    labBits_->setGeometry(194, 18, 55, 21);

    auto* groupBox1 = new QGroupBox(QStringLiteral(" Время между сеансами обмена "), this);
    groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    groupBox1->setGeometry(x, 154, width, 45);
    auto* label1 = new QLabel(QStringLiteral("Время (милисек.):"), groupBox1);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(10, 18, 150, 21);
    spinEdit1_ = new NumberField(2, 1000, 3, groupBox1);
    spinEdit1_->setObjectName(QStringLiteral("SpinEdit1"));
    spinEdit1_->setGeometry(188, 16, 58, 22);
    spinEdit1_->setValue(500);

    grpArhiv_ = new QGroupBox(QStringLiteral(" Архив "), this);
    grpArhiv_->setObjectName(QStringLiteral("grpArhiv"));
    grpArhiv_->setGeometry(x, 203, width, 45);
    labMax_ = new QLabel(QStringLiteral("Максимальное количество дней:"), grpArhiv_);
    labMax_->setObjectName(QStringLiteral("labMax"));
    labMax_->setGeometry(8, 18, 176, 21);
    spinEdit2_ = new NumberField(2, 100, 3, grpArhiv_);
    spinEdit2_->setObjectName(QStringLiteral("SpinEdit2"));
    spinEdit2_->setGeometry(188, 16, 58, 22);
    spinEdit2_->setValue(2);

    btnOK_ = new QPushButton(QStringLiteral("Применить"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnOK_->setGeometry(x, 252, 93, 25);
    btnOK_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("Отменить"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setGeometry(x + width - 93, 252, 93, 25);
    btnCancel_->setAutoDefault(false);

    connect(btnOK_, &QPushButton::clicked, this, &TOptForm::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TOptForm::LoadLanguage(const QString& languageFilePath)
{
    const platform::ProfileFile file(languageFilePath);
    const auto text = [&file](const char16_t* key, const char16_t* builtIn) {
        return file.value(QStringLiteral("Option"), QString::fromUtf16(key),
                          QString::fromUtf16(builtIn));
    };
    setWindowTitle(text(u"OptForm", u"Настройки"));
    grpCOM_->setTitle(text(u"grpCOM", u"COM-порт"));
    grpSpeed_->setTitle(text(u"grpSpeed", u"Скорость COM-порта"));
    grpArhiv_->setTitle(text(u"grpArhiv", u"Архив"));
    labSpeed_->setText(text(u"labSpeed", u"Скорость"));
    labBits_->setText(text(u"labBits", u"бит/с"));
    labMax_->setText(text(u"labMax", u"Максимальное количество дней:"));
    btnOK_->setText(text(u"btnOK", u"Применить"));
    btnCancel_->setText(text(u"btnCancel", u"Отменить"));
}

void TOptForm::FormActivate()
{
    LoadLanguage(languageFilePath_);

    const int port = comPortItem(settings_.ComPort);
    if (port >= 0) {
        comButtons_->button(port)->setChecked(true);
    } else {
        // An exclusive group keeps one button checked; only a non-exclusive
        // one can show "no port".
        comButtons_->setExclusive(false);
        for (QAbstractButton* b : comButtons_->buttons())
            b->setChecked(false);
        comButtons_->setExclusive(true);
    }
    spinEdit2_->setValue(settings_.MaxArhDay);
    spinEdit1_->setValue(settings_.DelayTime);
    boxSpeed_->setCurrentIndex(comSpeedItem(settings_.ComSpeed));
}

void TOptForm::btnOKClick()
{
    OptionsChoice choice;
    choice.comItem = comButtons_->checkedId();
    choice.maxArhDay = spinEdit2_->value();
    choice.speedText = boxSpeed_->currentIndex() >= 0 ? boxSpeed_->currentText() : QString();
    choice.delayTime = spinEdit1_->value();
    applyOptions(settings_, choice);
    accept();
}

bool TOptForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TOptForm::showEvent(QShowEvent* event)
{
    // Also at showing: a window manager that never activates the dialog must
    // not leave it applying the built-in values.
    FormActivate();
    if (!centred_) {
        centred_ = true;
        if (QScreen* s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}

bool runOptionsDialog(QWidget* parent, Settings& settings, const QString& languageFilePath)
{
    TOptForm dialog(settings, languageFilePath, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace tarvok::app
