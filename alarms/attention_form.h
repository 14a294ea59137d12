// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class QLabel;
class QTimer;

namespace tarvok::alarms {

// Eight coordination warnings, each red while its bit of the attention byte
// is set and silver otherwise, redrawn twice a second. A tool window that
// stays on top; it deletes itself when closed.
class TAttentionForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int LineCount = 8;
    static constexpr int RefreshMs = 500;

    using ByteSource = std::function<std::uint8_t()>;

    // Texts from section "Attention" of languageFilePath, loaded here only.
    TAttentionForm(const QString& languageFilePath, ByteSource attentionByte,
                   QWidget* parent = nullptr);

    void LoadLanguage(const QString& languageFilePath);

public Q_SLOTS:
    void EventTimerTimer();
    void DrawEvent();

Q_SIGNALS:
    // Emitted when the window has accepted its closing, before it is deleted.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    ByteSource attentionByte_;
    QLabel* labEvent_[LineCount] = {};
    QTimer* eventTimer_ = nullptr;
    bool centred_ = false;
};

// Keeps at most one attention window: open() makes one when none is open
// and does nothing otherwise; a closed window is forgotten at once, so the
// next open() makes a new one.
class AttentionOpener {
public:
    explicit AttentionOpener(TAttentionForm::ByteSource attentionByte);
    ~AttentionOpener();
    AttentionOpener(const AttentionOpener&) = delete;
    AttentionOpener& operator=(const AttentionOpener&) = delete;

    // parent: the main window, so the attention window goes with it; it is
    // still a window of its own. Returns true when a window was made.
    bool open(const QString& languageFilePath, QWidget* parent = nullptr);

    TAttentionForm* window() const { return form_; }

private:
    TAttentionForm::ByteSource attentionByte_;
    QPointer<TAttentionForm> form_;
};

} // namespace tarvok::alarms
