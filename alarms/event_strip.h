// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QAbstractListModel>
#include <QDateTime>
#include <QFont>
#include <QRgb>
#include <QStyledItemDelegate>

#include <deque>

namespace tarvok::alarms {

// Event colours as callers pass them (RGB, no alpha).
inline constexpr QRgb EventRed = 0xFF0000;
inline constexpr QRgb EventBlack = 0x000000;
inline constexpr QRgb EventBlue = 0x0000FF;

// Only pure red marks a line red; every other colour (blue for a restored
// link included) is drawn black. Any alpha byte is ignored.
constexpr bool isRedEvent(QRgb colour) { return (colour & 0xFFFFFFu) == EventRed; }

// "<short date>  <long time>  <text>", as the strip shows an event.
QString eventLineText(const QDateTime& when, const QString& text);

// The event strip's lines, newest at row 0, at most Capacity of them.
// Window-thread state: the poll step's follow-up reaches it on that thread.
class EventStripModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int Capacity = 30;
    enum Role { RedFlagRole = Qt::UserRole + 1 };

    explicit EventStripModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Drops the oldest line when the strip is full, then puts the line on top.
    // Returns the index of the new line (row 0).
    QModelIndex addLine(const QString& line, bool red);
    void clear();

    QString lineText(int row) const;
    bool lineRed(int row) const;

private:
    struct Line {
        QString text;
        bool red = false;
    };
    std::deque<Line> lines_;
};

// Draws the strip's lines (lstAvariaDrawItem): white fill, red or black text
// 2 px from the left at the top edge, bold "MS Sans Serif" 13 px, one line per
// 16 px. Selection changes nothing, so the newest line never looks different.
class EventStripDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int LineHeight = 16;

    explicit EventStripDelegate(QObject* parent = nullptr);

    static QFont lineFont();

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace tarvok::alarms
