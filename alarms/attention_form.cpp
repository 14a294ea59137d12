// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/attention_form.h"

#include "platform/profile.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvok::alarms {

namespace {

constexpr QSize ClientSize{213, 248};
constexpr int PanelHeight = 31;

const char16_t* const builtInLines[TAttentionForm::LineCount] = {
    u"Нет сигнала \"Разрешение на выгрузку дозаторов\" от координатора для печи 1",
    u"Нет сигнала \"Разрешение движения тележки\" от координатора для печи 1",
    u"Нет пустого печного бункера печи 1",
    u"Нет сигнала \"Разрешение на выгрузку дозаторов\" от координатора для печи 2",
    u"Нет загрузки бункера шихты печи 2",
    u"Нет пустого печного бункера печи 2",
    u"В координаторе нет сигнала \"Конец выгрузки\" от печи 1",
    u"В координаторе нет сигнала \"Конец выгрузки\" от печи 2",
};

} // namespace

TAttentionForm::TAttentionForm(const QString& languageFilePath, ByteSource attentionByte,
                               QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), attentionByte_(std::move(attentionByte))
{
    setObjectName(QStringLiteral("AttentionForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ClientSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int k = 1; k <= LineCount; ++k) {
        auto* panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(k));
        panel->setFixedHeight(PanelHeight);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, QColor(0xDF, 0xDF, 0xDE));
        panel->setPalette(pal);
        panel->setAutoFillBackground(true);

        auto* label = new QLabel(panel);
        label->setObjectName(QStringLiteral("labEvent%1").arg(k));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPixelSize(11);
        label->setFont(font);
        auto* inner = new QVBoxLayout(panel);
        inner->setContentsMargins(1, 1, 1, 1);
        inner->addWidget(label);
        labEvent_[k - 1] = label;
        layout->addWidget(panel);
    }

    eventTimer_ = new QTimer(this);
    eventTimer_->setObjectName(QStringLiteral("EventTimer"));
    eventTimer_->setInterval(RefreshMs);
    connect(eventTimer_, &QTimer::timeout, this, &TAttentionForm::EventTimerTimer);

    // FormCreate: texts, one colouring, then the refresh for the window's life.
    LoadLanguage(languageFilePath);
    DrawEvent();
    eventTimer_->start();
}

void TAttentionForm::LoadLanguage(const QString& languageFilePath)
{
    const platform::ProfileFile file(languageFilePath);
    const QString section = QStringLiteral("Attention");
    setWindowTitle(file.value(section, QStringLiteral("AttentionForm"), QStringLiteral("Внимание")));
    for (int k = 1; k <= LineCount; ++k)
        labEvent_[k - 1]->setText(file.value(section, QStringLiteral("labEvent%1").arg(k),
                                             QString::fromUtf16(builtInLines[k - 1])));
}

void TAttentionForm::EventTimerTimer()
{
    DrawEvent();
}

void TAttentionForm::DrawEvent()
{
    for (int k = 1; k <= LineCount; ++k) {
        // Read per line: another thread may write the byte, and a byte-wide
        // read is all that needs.
        const std::uint8_t byte = attentionByte_ ? attentionByte_() : 0;
        const bool active = (byte >> (k - 1)) & 1u;
        QLabel* label = labEvent_[k - 1];
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText,
                     active ? QColor(0xFF, 0x00, 0x00) : QColor(0xC0, 0xC0, 0xC0));
        label->setPalette(pal);
    }
}

void TAttentionForm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        eventTimer_->stop();
        Q_EMIT closed();
    }
}

void TAttentionForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!centred_) {
        centred_ = true;
        if (QScreen* s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
}

AttentionOpener::AttentionOpener(TAttentionForm::ByteSource attentionByte)
    : attentionByte_(std::move(attentionByte))
{
}

AttentionOpener::~AttentionOpener()
{
    // The window may outlive the opener (both belong to the main window).
    if (form_)
        QObject::disconnect(form_, &TAttentionForm::closed, nullptr, nullptr);
}

bool AttentionOpener::open(const QString& languageFilePath, QWidget* parent)
{
    if (form_)
        return false;
    auto* form = new TAttentionForm(languageFilePath, attentionByte_, parent);
    // Forgotten on closing rather than on deletion: deletion comes later,
    // and a click in between must already open a new window.
    QObject::connect(form, &TAttentionForm::closed, form, [this] { form_.clear(); });
    form_ = form;
    form->show();
    return true;
}

} // namespace tarvok::alarms
