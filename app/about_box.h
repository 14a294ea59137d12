// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QDialog>

class QLabel;

namespace tarvok::app {

// The about window: picture, product name, version and release date.
// Created, shown modally and freed each time it is asked for.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

private:
    void FormCreate();

    QLabel* labVersion_;
    QLabel* label2_;
};

} // namespace tarvok::app
