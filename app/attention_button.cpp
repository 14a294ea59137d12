// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/attention_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace tarvok::app {

AttentionButton::AttentionButton(QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("btnAttention"));
    setFixedWidth(81);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Background);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    setContentsMargins(2, 2, 2, 2);
}

void AttentionButton::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter p(this);
    const QRect outer = rect();
    qDrawShadePanel(&p, outer, palette(), true, 1);
    qDrawShadePanel(&p, outer.adjusted(1, 1, -1, -1), palette(), pressed_, 1);
}

void AttentionButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(event);
    pressed_ = true;
    update();
}

void AttentionButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return QLabel::mouseReleaseEvent(event);
    pressed_ = false;
    update();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace tarvok::app
