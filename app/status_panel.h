// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "app/pictures.h"

#include <QFrame>
#include <QImage>

class QLabel;

namespace tarvok::app {

// StatPanel: the link status picture (StatImage) and text (StatLabel) at the
// right end of the top panel. The picture is composed in StatusBitmap, a
// 16 x 16 off-screen image, and then copied to StatImage, so a blinking
// status can be drawn in several steps without flicker.
class StatusPanel : public QFrame {
    Q_OBJECT
public:
    static inline const QColor Background{0xDF, 0xDF, 0xDE};
    static inline const QColor NormalText{0x36, 0x36, 0x70};

    explicit StatusPanel(QWidget* parent = nullptr);

    void setStatus(const QString& text, const QColor& colour);
    QString statusText() const;
    QColor statusColour() const;

    // StatusBitmap exists between createStatusBitmap() and
    // releaseStatusBitmap() (main window creation to closing).
    void createStatusBitmap();
    void releaseStatusBitmap();
    bool hasStatusBitmap() const { return !statusBitmap_.isNull(); }
    QImage& statusBitmap() { return statusBitmap_; }

    // Fills StatusBitmap with the panel colour, draws the picture, and copies
    // the result to StatImage. Does nothing without StatusBitmap.
    void showPicture(Picture role);
    // Copies StatusBitmap as it is to StatImage.
    void copyStatusBitmap();
    QImage shownPicture() const;

private:
    QLabel* image_;
    QLabel* label_;
    QImage statusBitmap_;
};

} // namespace tarvok::app
