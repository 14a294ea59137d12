// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "tasks/task_transfer.h"

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QSpinBox;
class QGroupBox;

namespace tarvok::tasks {

// The task table: one panel of setpoint editors per pump and the button that
// sends the task block. Meant to sit maximised in the main window's MDI area;
// it deletes itself when closed.
class TTableForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int PumpCount = 13;

    // The texts come from section "Table" of languageFilePath (a missing file
    // or key leaves the built-in text); the portions editor starts from byte 0
    // of the transfer's snapshot.
    TTableForm(const QString& languageFilePath, TaskTransfer& transfer, QWidget* parent = nullptr);

    void LoadLanguage(const QString& languageFilePath);

    QString wantRecText() const { return lngWantRec_; }
    QString errorRecText() const { return lngErrorRec_; }

public Q_SLOTS:
    void btnRec1Click();
    void btnCloseClick();

Q_SIGNALS:
    // After every confirmed transfer, with the exchange result code.
    void transferDone(int exchangeError);

private:
    void FormCreate(const QString& languageFilePath);
    void buildPumpPanels(QWidget* area);
    void buildHiddenGroups(QWidget* area);

    TaskTransfer& transfer_;
    QLabel* labName_ = nullptr;
    QPushButton* btnClose_ = nullptr;
    QPushButton* btnRec1_ = nullptr;
    QLabel* panCnt1_ = nullptr;
    QLabel* labPortion1_ = nullptr;
    QSpinBox* sePortion1_ = nullptr;
    QLabel* panCnt2_ = nullptr;
    QGroupBox* grpColor_ = nullptr;
    QLabel* labMat_[10] = {};
    QString lngWantRec_;
    QString lngErrorRec_;
    bool transferRunning_ = false;
};

} // namespace tarvok::tasks
