// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tasks/table_form.h"

#include "platform/profile.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvok::tasks {

namespace {

constexpr int TopBarHeight = 33;
constexpr QSize PumpPanelSize{131, 159};
constexpr int FirstRowX[] = {12, 146, 280, 414, 548, 684, 820};
constexpr int FirstRowY = 14;
constexpr int SecondRowY = 178;

struct Material {
    QRgb swatch;
    const char16_t* text;
};

const Material materials[10] = {
    {0xC0C0C0, u"0 - Нет материала"},
    {0x008000, u"1 - Кокс"},
    {0x954A00, u"2 - Марганцевая руда"},
    {0x808080, u"3 - Известняк"},
    {0x59ACFF, u"4 - Доломит"},
    {0xE1E100, u"5 - Кварцит"},
    {0xA40202, u"6 - Брикеты (возвратные отходы)"},
    {0x0000FF, u"7 - Стружка (стальная/чугунная)"},
    {0x000000, u"8 - Уголь (длиннопламенный/бурый)"},
    {0xA54AFF, u"9 - Шунгит"},
};

void fill(QWidget* w, const QColor& background)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, background);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

void setTextColour(QWidget* w, QPalette::ColorRole role, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(role, colour);
    w->setPalette(pal);
}

QLabel* header(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    fill(label, QColor(0x3E, 0x61, 0xDB));
    setTextColour(label, QPalette::WindowText, Qt::white);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QSpinBox* spinEditor(const QString& name, int max, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(0, max);
    spin->setValue(0);
    return spin;
}

} // namespace

TTableForm::TTableForm(const QString& languageFilePath, TaskTransfer& transfer, QWidget* parent)
    : QWidget(parent), transfer_(transfer)
{
    setObjectName(QStringLiteral("TableForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The system's button face, as the window's own background. Not through
    // setBackgroundRole(Button): children inherit that role and would paint
    // their own Window and WindowText colours as button face and text.
    fill(this, palette().color(QPalette::Button));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* topBar = new QWidget(this);
    topBar->setObjectName(QStringLiteral("panTop"));
    topBar->setFixedHeight(TopBarHeight);
    auto* topLayout = new QHBoxLayout(topBar);
    topLayout->setContentsMargins(8, 0, 8, 0);
    labName_ = new QLabel(topBar);
    labName_->setObjectName(QStringLiteral("labName"));
    QFont titleFont = labName_->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(19);
    labName_->setFont(titleFont);
    setTextColour(labName_, QPalette::WindowText, QColor(0x37, 0x6F, 0x6F));
    btnClose_ = new QPushButton(topBar);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    btnClose_->setAutoDefault(false);
    topLayout->addWidget(labName_);
    topLayout->addStretch(1);
    topLayout->addWidget(btnClose_);
    outer->addWidget(topBar);

    // The panels sit at fixed places, as the operators know them.
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("panClient"));
    area->setMinimumSize(FirstRowX[6] + PumpPanelSize.width() + 12, 348 + 31 + 12);
    outer->addWidget(area, 1);

    buildPumpPanels(area);

    btnRec1_ = new QPushButton(area);
    btnRec1_->setObjectName(QStringLiteral("btnRec1"));
    btnRec1_->setGeometry(362, 348, 191, 31);
    setTextColour(btnRec1_, QPalette::ButtonText, Qt::red);
    btnRec1_->setDefault(true);

    buildHiddenGroups(area);

    connect(btnRec1_, &QPushButton::clicked, this, &TTableForm::btnRec1Click);
    connect(btnClose_, &QPushButton::clicked, this, &TTableForm::btnCloseClick);

    FormCreate(languageFilePath);
}

void TTableForm::buildPumpPanels(QWidget* area)
{
    for (int pump = 1; pump <= PumpCount; ++pump) {
        const bool firstRow = pump <= 7;
        const int x = FirstRowX[firstRow ? pump - 1 : pump - 8];
        const int y = firstRow ? FirstRowY : SecondRowY;
        const QString number = QStringLiteral("%1").arg(pump, 2, 10, QLatin1Char('0'));

        auto* panel = new QFrame(area);
        panel->setObjectName(QStringLiteral("panPump") + number);
        panel->setGeometry(QRect(QPoint(x, y), PumpPanelSize));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        fill(panel, QColor(0xE8, 0xFF, 0xE8));

        QLabel* head = header(QStringLiteral("НАСОС ") + number, panel);
        head->setObjectName(QStringLiteral("labPump") + number);
        head->setGeometry(2, 2, PumpPanelSize.width() - 4, 20);

        auto* labMin = new QLabel(QStringLiteral("Задание мин. тока (А)"), panel);
        labMin->setWordWrap(true);
        labMin->setGeometry(6, 28, PumpPanelSize.width() - 12, 32);
        QSpinBox* min = spinEditor(QStringLiteral("SpinEdit%1").arg(2 * pump - 1), 1000, panel);
        min->setGeometry(6, 60, 70, 22);

        auto* labMax = new QLabel(QStringLiteral("Задание макс. тока (А)"), panel);
        labMax->setWordWrap(true);
        labMax->setGeometry(6, 90, PumpPanelSize.width() - 12, 32);
        QSpinBox* max = spinEditor(QStringLiteral("SpinEdit%1").arg(2 * pump), 8, panel);
        max->setGeometry(6, 122, 70, 22);
    }
}

void TTableForm::buildHiddenGroups(QWidget* area)
{
    // Laid out for a task block that carries them; until then nothing shows
    // them.
    auto* portions = new QWidget(area);
    portions->setObjectName(QStringLiteral("panPortions"));
    portions->setGeometry(12, 400, 200, 80);
    panCnt1_ = header(QString(), portions);
    panCnt1_->setObjectName(QStringLiteral("panCnt1"));
    panCnt1_->setGeometry(0, 0, 200, 20);
    labPortion1_ = new QLabel(portions);
    labPortion1_->setObjectName(QStringLiteral("labPortion1"));
    labPortion1_->setGeometry(4, 26, 192, 18);
    sePortion1_ = new QSpinBox(portions);
    sePortion1_->setObjectName(QStringLiteral("sePortion1"));
    sePortion1_->setRange(1, 10);
    sePortion1_->setGeometry(4, 48, 50, 22);
    portions->hide();

    auto* exclusion = new QWidget(area);
    exclusion->setObjectName(QStringLiteral("panExclusion"));
    exclusion->setGeometry(230, 400, 330, 80);
    panCnt2_ = header(QString(), exclusion);
    panCnt2_->setObjectName(QStringLiteral("panCnt2"));
    panCnt2_->setGeometry(0, 0, 330, 20);
    for (int i = 1; i <= 10; ++i) {
        auto* box = new QCheckBox(QStringLiteral("ПБ%1").arg(i), exclusion);
        box->setObjectName(QStringLiteral("chkPB%1").arg(i));
        box->setChecked(true);
        box->setGeometry(4 + ((i - 1) % 5) * 64, 26 + ((i - 1) / 5) * 24, 60, 20);
    }
    exclusion->hide();

    grpColor_ = new QGroupBox(area);
    grpColor_->setObjectName(QStringLiteral("grpColor"));
    grpColor_->setGeometry(580, 400, 360, 150);
    for (int code = 0; code < 10; ++code) {
        const int x = 8 + (code / 5) * 176;
        const int y = 20 + (code % 5) * 24;
        auto* swatch = new QFrame(grpColor_);
        swatch->setObjectName(QStringLiteral("shpMat%1").arg(code));
        swatch->setGeometry(x, y + 2, 16, 16);
        swatch->setFrameShape(QFrame::Box);
        fill(swatch, QColor::fromRgb(materials[code].swatch));
        labMat_[code] = new QLabel(grpColor_);
        labMat_[code]->setObjectName(QStringLiteral("labMat%1").arg(code));
        labMat_[code]->setGeometry(x + 22, y, 150, 20);
    }
    grpColor_->hide();
}

void TTableForm::FormCreate(const QString& languageFilePath)
{
    LoadLanguage(languageFilePath);
    // The editor's range brings a snapshot that never held a portion count
    // (all zero before the first read or after a transfer) to 1.
    sePortion1_->setValue(std::clamp<int>(transfer_.snapshot()[0], 1, 10));
}

void TTableForm::LoadLanguage(const QString& languageFilePath)
{
    const platform::ProfileFile file(languageFilePath);
    const QString section = QStringLiteral("Table");
    const auto text = [&](const char16_t* key, const char16_t* builtIn) {
        return file.value(section, QString::fromUtf16(key), QString::fromUtf16(builtIn));
    };
    setWindowTitle(text(u"TableForm", u"Таблица заданий"));
    labName_->setText(text(u"labName", u"Таблица заданий"));
    btnClose_->setText(text(u"btnClose", u"Закрыть"));
    btnRec1_->setText(text(u"btnRec1", u"Передать задание"));
    panCnt1_->setText(text(u"panCnt1", u"КОЛИЧЕСТВО ПОРЦИЙ"));
    labPortion1_->setText(text(u"labPortion1", u"Количество порций (1 - 10)"));
    lngWantRec_ = text(u"lngWantRec", u"Вы действительно желаете передать задание?");
    lngErrorRec_ = text(u"lngErrorRec", u"Задание не передано.");
    grpColor_->setTitle(text(u"grpColor", u"Коды и цвета материалов"));
    for (int code = 0; code < 10; ++code)
        labMat_[code]->setText(file.value(section, QStringLiteral("labMat%1").arg(code),
                                          QString::fromUtf16(materials[code].text)));
    // This header has no language key: it is fixed whatever the file says.
    panCnt2_->setText(QStringLiteral("ИСКЛЮЧЕНИЕ ИЗ РАБОТЫ ПЕЧНЫХ БУНКЕРОВ"));
}

void TTableForm::btnRec1Click()
{
    if (transferRunning_)
        return;
    transferRunning_ = true;
    btnRec1_->setEnabled(false);

    // The boxes are modal and the transfer waits while handling events: the
    // window may be gone by the time a box is shown or the transfer returns.
    QPointer<TTableForm> self(this);
    const QString caption = windowTitle();
    const QString question = lngWantRec_;
    const QString failure = lngErrorRec_;

    const auto confirm = [self, caption, question] {
        return QMessageBox::question(self, caption, question, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    const auto reportFailure = [self, caption, failure](int) {
        QMessageBox::critical(self, caption, failure, QMessageBox::Ok);
    };

    const auto restore = [self] {
        if (self) {
            self->transferRunning_ = false;
            self->btnRec1_->setEnabled(true);
        }
    };
    TaskTransfer::Result result;
    try {
        result = transfer_.run(confirm, reportFailure);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (self && result.confirmed)
        Q_EMIT self->transferDone(result.exchangeError);
}

void TTableForm::btnCloseClick()
{
    close();
}

} // namespace tarvok::tasks
