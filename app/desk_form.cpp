// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/desk_form.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

namespace tarvok::app {

TDeskForm::TDeskForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , panel1_(new QLabel(this))
{
    setObjectName(QStringLiteral("DeskForm"));
    setFixedSize(417, 53);
    setAttribute(Qt::WA_ShowWithoutActivating);

    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setGeometry(rect());
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1_->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(18);
    panel1_->setFont(f);
    QPalette pal = panel1_->palette();
    pal.setColor(QPalette::WindowText, QColor(0x48, 0x48, 0xFF));
    panel1_->setPalette(pal);
    panel1_->setText(QStringLiteral("Зачекайте будь ласка..."));

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TDeskForm::setCaption(const QString& text)
{
    panel1_->setText(text);
}

QString TDeskForm::caption() const
{
    return panel1_->text();
}

void TDeskForm::showAndPaint()
{
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tarvok::app
