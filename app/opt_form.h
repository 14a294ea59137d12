// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "app/settings.h"

#include <QDialog>
#include <QLineEdit>
#include <QString>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace tarvok::app {

// A whole-number field: digits and a sign only, at most maxLength
// characters typed. Leaving the field brings its value into range; value() reads
// the text as it stands, so a number taken while the field still has the
// focus (Enter on the dialog) is taken as typed.
class NumberField : public QLineEdit {
    Q_OBJECT

public:
    NumberField(int minimum, int maximum, int maxLength, QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int minimum_;
    int maximum_;
};

// The settings dialog. It edits the controls only; btnOKClick writes the
// settings, and the caller reopens the port afterwards (reopenPortLater).
class TOptForm : public QDialog {
    Q_OBJECT

public:
    TOptForm(Settings& settings, const QString& languageFilePath, QWidget* parent = nullptr);

    void LoadLanguage(const QString& languageFilePath);

public Q_SLOTS:
    // Each time the dialog becomes active: texts, then the fields from the
    // settings, dropping edits not applied.
    void FormActivate();
    void btnOKClick();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Settings& settings_;
    QString languageFilePath_;
    QGroupBox* grpCOM_ = nullptr;
    QButtonGroup* comButtons_ = nullptr;
    QGroupBox* grpSpeed_ = nullptr;
    QLabel* labSpeed_ = nullptr;
    QComboBox* boxSpeed_ = nullptr;
    QLabel* labBits_ = nullptr;
    QGroupBox* grpArhiv_ = nullptr;
    QLabel* labMax_ = nullptr;
    NumberField* spinEdit1_ = nullptr; // DelayTime
    NumberField* spinEdit2_ = nullptr; // MaxArhDay
    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    bool centred_ = false;
};

// Shows the dialog modally over parent; true when it was applied (the
// settings are then already changed and the port is to be reopened).
bool runOptionsDialog(QWidget* parent, Settings& settings, const QString& languageFilePath);

} // namespace tarvok::app
