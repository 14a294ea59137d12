// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/status_panel.h"

#include <QLabel>
#include <QPainter>

namespace tarvok::app {

StatusPanel::StatusPanel(QWidget* parent)
    : QFrame(parent)
    , image_(new QLabel(this))
    , label_(new QLabel(this))
{
    setObjectName(QStringLiteral("StatPanel"));
    setFixedWidth(238);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Background);
    setPalette(pal);

    image_->setObjectName(QStringLiteral("StatImage"));
    image_->setGeometry(2, 3, PictureSize, PictureSize);

    label_->setObjectName(QStringLiteral("StatLabel"));
    label_->setGeometry(30, 2, 205, 19);
    label_->setAlignment(Qt::AlignCenter);
    QFont bold = label_->font();
    bold.setBold(true);
    label_->setFont(bold);
    setStatus(QString(), NormalText);
}

void StatusPanel::setStatus(const QString& text, const QColor& colour)
{
    label_->setText(text);
    QPalette pal = label_->palette();
    pal.setColor(QPalette::WindowText, colour);
    label_->setPalette(pal);
}

QString StatusPanel::statusText() const
{
    return label_->text();
}

QColor StatusPanel::statusColour() const
{
    return label_->palette().color(QPalette::WindowText);
}

void StatusPanel::createStatusBitmap()
{
    statusBitmap_ = QImage(PictureSize, PictureSize, QImage::Format_RGB32);
    statusBitmap_.fill(Background);
}

void StatusPanel::releaseStatusBitmap()
{
    statusBitmap_ = QImage();
}

void StatusPanel::showPicture(Picture role)
{
    if (statusBitmap_.isNull())
        return;
    statusBitmap_.fill(Background);
    QPainter p(&statusBitmap_);
    p.drawImage(0, 0, imageList1()[static_cast<std::size_t>(role)]);
    p.end();
    copyStatusBitmap();
}

void StatusPanel::copyStatusBitmap()
{
    if (!statusBitmap_.isNull())
        image_->setPixmap(QPixmap::fromImage(statusBitmap_));
}

QImage StatusPanel::shownPicture() const
{
    return image_->pixmap().toImage();
}

} // namespace tarvok::app
