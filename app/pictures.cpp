// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace tarvok::app {
namespace {

const QColor ink(0x20, 0x20, 0x50);
const QColor paper(0xFF, 0xFF, 0xF4);

void drawSheet(QPainter& p, const QColor& fill)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(fill);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
}

void drawLines(QPainter& p, qreal from, qreal to, int count, const QColor& colour)
{
    p.setPen(QPen(colour, 1));
    for (int i = 0; i < count; ++i) {
        const qreal y = 4.5 + 2.0 * i;
        p.drawLine(QPointF(from, y), QPointF(to, y));
    }
}

void drawPlug(QPainter& p, bool connected)
{
    const QColor body = connected ? QColor(0x10, 0x90, 0x20) : QColor(0xC0, 0x10, 0x10);
    p.setPen(QPen(ink, 1));
    p.setBrush(body);
    // Plug with two pins on the left, socket on the right; pulled apart when
    // the link is down.
    const qreal gap = connected ? 0 : 2;
    p.drawLine(QPointF(0, 8.5), QPointF(1.5, 8.5));
    p.drawRect(QRectF(1.5, 4.5, 4, 8));
    p.drawLine(QPointF(5.5, 6.5), QPointF(8.5 - gap, 6.5));
    p.drawLine(QPointF(5.5, 10.5), QPointF(8.5 - gap, 10.5));
    p.drawRect(QRectF(8.5 + gap, 4.5, 4, 8));
    p.drawLine(QPointF(12.5 + gap, 8.5), QPointF(16, 8.5));
    if (!connected) {
        p.setPen(QPen(QColor(0xFF, 0x00, 0x00), 1.5));
        p.drawLine(QPointF(6.5, 15), QPointF(10.5, 1));
    }
}

void drawArrow(QPainter& p, bool up)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    QPolygonF tri;
    if (up)
        tri << QPointF(2, 11) << QPointF(14, 11) << QPointF(8, 4);
    else
        tri << QPointF(2, 5) << QPointF(14, 5) << QPointF(8, 12);
    p.drawPolygon(tri);
}

void paintRole(QPainter& p, Picture role)
{
    switch (role) {
    case Picture::TaskTable: {
        drawSheet(p, paper);
        p.setPen(QPen(QColor(0x40, 0x40, 0xA0), 1));
        for (qreal y : {5.5, 8.5, 11.5})
            p.drawLine(QPointF(3, y), QPointF(13, y));
        p.drawLine(QPointF(7.5, 2), QPointF(7.5, 14));
        p.fillRect(QRectF(3, 2, 10.5, 3.5), QColor(0x40, 0x40, 0xA0));
        break;
    }
    case Picture::Mimic: {
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0x40, 0x80, 0xE0));
        p.drawEllipse(QRectF(1.5, 5.5, 6, 6));
        p.setBrush(QColor(0x30, 0xB0, 0x30));
        p.drawRect(QRectF(10.5, 2.5, 4, 11));
        p.setPen(QPen(ink, 1.5));
        p.drawLine(QPointF(7.5, 8.5), QPointF(10.5, 8.5));
        p.drawLine(QPointF(4.5, 11.5), QPointF(4.5, 15));
        break;
    }
    case Picture::PlugConnected:
        drawPlug(p, true);
        break;
    case Picture::PlugDisconnected:
        drawPlug(p, false);
        break;
    case Picture::Exit: {
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0xA0, 0x70, 0x40));
        p.drawRect(QRectF(2.5, 1.5, 7, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xD0, 0x20, 0x20));
        QPolygonF arrow;
        arrow << QPointF(7, 7) << QPointF(11, 7) << QPointF(11, 4) << QPointF(15.5, 8)
              << QPointF(11, 12) << QPointF(11, 9) << QPointF(7, 9);
        p.drawPolygon(arrow);
        break;
    }
    case Picture::Help: {
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0x30, 0x60, 0xD0));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Picture::Settings: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x60, 0x60, 0x70));
        p.translate(8, 8);
        for (int i = 0; i < 8; ++i) {
            p.drawRect(QRectF(-1.5, -7.5, 3, 4));
            p.rotate(45);
        }
        p.drawEllipse(QPointF(0, 0), 5, 5);
        p.setBrush(QColor(0xE8, 0xE8, 0xE8));
        p.drawEllipse(QPointF(0, 0), 2, 2);
        p.resetTransform();
        break;
    }
    case Picture::History: {
        p.setPen(QPen(ink, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 1.5));
        QPainterPath trend;
        trend.moveTo(2.5, 11);
        trend.lineTo(5.5, 7);
        trend.lineTo(8.5, 9.5);
        trend.lineTo(13.5, 3.5);
        p.setBrush(Qt::NoBrush);
        p.drawPath(trend);
        p.setPen(QPen(QColor(0x20, 0x60, 0xC0), 1));
        p.drawLine(QPointF(2.5, 12.5), QPointF(13.5, 12.5));
        break;
    }
    case Picture::Collapse:
        drawArrow(p, false);
        break;
    case Picture::Expand:
        drawArrow(p, true);
        break;
    case Picture::Clear: {
        drawSheet(p, paper);
        p.setPen(QPen(QColor(0xD0, 0x10, 0x10), 2));
        p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
        p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
        break;
    }
    case Picture::Journal: {
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0x30, 0x50, 0xA0));
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setBrush(paper);
        p.drawRect(QRectF(5.5, 3.5, 6, 9));
        drawLines(p, 6.5, 10.5, 4, QColor(0x80, 0x80, 0x80));
        break;
    }
    case Picture::Protocol: {
        drawSheet(p, paper);
        drawLines(p, 4, 12, 5, QColor(0x30, 0x30, 0x30));
        p.setPen(QPen(QColor(0x10, 0x90, 0x20), 1.5));
        p.drawLine(QPointF(9, 12), QPointF(10.5, 13.5));
        p.drawLine(QPointF(10.5, 13.5), QPointF(14.5, 9));
        break;
    }
    case Picture::Report: {
        drawSheet(p, paper);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x60, 0xD0));
        p.drawRect(QRectF(4, 9, 2, 4));
        p.setBrush(QColor(0xD0, 0x30, 0x30));
        p.drawRect(QRectF(7, 5, 2, 8));
        p.setBrush(QColor(0x20, 0xA0, 0x30));
        p.drawRect(QRectF(10, 7, 2, 6));
        break;
    }
    }
}

} // namespace

QImage drawPicture(Picture role)
{
    QImage image(PictureSize, PictureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintRole(p, role);
    p.end();
    return image;
}

const std::vector<QImage>& imageList1()
{
    static const std::vector<QImage> list = [] {
        std::vector<QImage> all;
        for (int i = 0; i < PictureCount; ++i)
            all.push_back(drawPicture(static_cast<Picture>(i)));
        return all;
    }();
    return list;
}

QPixmap picture(Picture role)
{
    return QPixmap::fromImage(imageList1()[static_cast<std::size_t>(role)]);
}

QIcon pictureIcon(Picture role)
{
    return QIcon(picture(role));
}

} // namespace tarvok::app
