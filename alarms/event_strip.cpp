// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/event_strip.h"

#include "platform/clock.h"

#include <QColor>
#include <QPainter>

namespace tarvok::alarms {

QString eventLineText(const QDateTime& when, const QString& text)
{
    return platform::shownDate(when.date()) + QStringLiteral("  ") + platform::shownTime(when.time()) + QStringLiteral("  ")
        + text;
}

EventStripModel::EventStripModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

int EventStripModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant EventStripModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    const Line& line = lines_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return line.text;
    case RedFlagRole:
        return line.red;
    case Qt::ForegroundRole:
        return QColor(line.red ? Qt::red : Qt::black);
    default:
        return {};
    }
}

QModelIndex EventStripModel::addLine(const QString& line, bool red)
{
    if (lines_.size() >= Capacity) {
        const int last = static_cast<int>(lines_.size()) - 1;
        beginRemoveRows({}, last, last);
        lines_.pop_back();
        endRemoveRows();
    }
    beginInsertRows({}, 0, 0);
    lines_.push_front(Line{line, red});
    endInsertRows();
    return index(0);
}

void EventStripModel::clear()
{
    if (lines_.empty())
        return;
    beginResetModel();
    lines_.clear();
    endResetModel();
}

QString EventStripModel::lineText(int row) const
{
    return data(index(row), Qt::DisplayRole).toString();
}

bool EventStripModel::lineRed(int row) const
{
    return data(index(row), RedFlagRole).toBool();
}

EventStripDelegate::EventStripDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QFont EventStripDelegate::lineFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

void EventStripDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    painter->save();
    painter->fillRect(option.rect, Qt::white);
    painter->setPen(index.data(EventStripModel::RedFlagRole).toBool() ? Qt::red : Qt::black);
    painter->setFont(lineFont());
    const QRect text = option.rect.adjusted(2, 0, 0, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize EventStripDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), LineHeight};
}

} // namespace tarvok::alarms
