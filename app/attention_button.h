// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QLabel>

namespace tarvok::app {

// btnAttention: a panel used as a button. Outer bevel lowered, inner bevel
// raised; while the mouse is held down the inner bevel is lowered too, so it
// reads as pressed. A release over the panel is the click.
class AttentionButton : public QLabel {
    Q_OBJECT
public:
    static inline const QColor Background{0xDF, 0xDF, 0xDE};

    explicit AttentionButton(QWidget* parent = nullptr);

    bool isPressed() const { return pressed_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace tarvok::app
