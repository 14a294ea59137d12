// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "mimic/mimic_picture.h"

#include <QPaintEvent>
#include <QPainter>

namespace tarvok::mimic {

MimicPicture::MimicPicture(const QString& name, int width, int height, QWidget* parent)
    : MimicPicture(name, platform::Raster::colour(width, height).image(), parent)
{
}

MimicPicture::MimicPicture(const QString& name, const QImage& picture, QWidget* parent)
    : QWidget(parent), m_raster(platform::Raster::fromImage(picture))
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(m_raster.width(), m_raster.height());
}

void MimicPicture::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.drawImage(event->rect(), m_raster.image(), event->rect());
}

} // namespace tarvok::mimic
