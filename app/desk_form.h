// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QWidget>

class QLabel;

namespace tarvok::app {

// The please-wait window a caller shows during a long load: borderless,
// centred, no input, not modal.
class TDeskForm : public QWidget {
    Q_OBJECT
public:
    explicit TDeskForm(QWidget* parent = nullptr);

    void setCaption(const QString& text);
    QString caption() const;

    // Shows and paints at once: the caller's long work keeps the event loop
    // from doing it.
    void showAndPaint();

private:
    QLabel* panel1_;
};

} // namespace tarvok::app
