// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "mimic/bubbles.h"
#include "platform/raster.h"

#include <QPainter>
#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;

namespace tarvok::mimic {

class MimicPicture;

// The animated overview of the water-intake station. Everything it shows is
// fixed except the water moving through the pipes and the turning motors.
//
// The application creates it with the path of the chosen language file and
// puts it into its MDI area as a maximised subwindow; the window deletes
// itself when it is closed (Qt::WA_DeleteOnClose). Its objectName is
// "MnemoForm".
class TMnemoForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int PumpCount = 13;
    static constexpr int DesignWidth = 1025;
    static constexpr int DesignHeight = 694;

    explicit TMnemoForm(const QString& languageFilePath, QWidget* parent = nullptr);
    ~TMnemoForm() override;

    // One tick: date and time, then a frame.
    void DrawTimerTimer();
    // Composes one animation frame and shows it. Does nothing once the window
    // has been closed.
    void DrawMnemo();

    // Kept for the layout's sake; nothing calls them.
    void VesBunker() {}
    void ZagBunker() {}
    void MoveSkip() {}
    void BigBunker() {}
    void MovePech1() {}
    void MoveTachka1() {}
    void TranspTimerTimer() { m_transpFlag = !m_transpFlag; }

    // For inspection: the particle areas, the frames drawn so far and the
    // off-screen pictures (null once they are released).
    BubbleField& bubbles() { return *m_bubbles; }
    int framesDrawn() const { return m_frames; }
    const QImage* offscreenMainTube() const;
    const QImage* offscreenHiTube() const;
    const QImage* offscreenShortTube() const;
    const QImage* offscreenTower() const;
    static bool pumpRunning(int unit);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Offscreen;

    void FormCreate(const QString& languageFilePath);
    void LoadLanguage(const QString& languageFilePath);
    void btnCloseClick();
    void FormClose();

    void buildLayout();
    void drawBubbles(QPainter& p, const BubbleArea& area, const QPen& outline);
    void pipeFrame(BubbleArea& area, Offscreen& off, const platform::Raster& sprite,
                   MimicPicture* shown);

    QTimer* DrawTimer = nullptr;
    QLabel* LblDate = nullptr;
    QLabel* LblTime = nullptr;
    QPushButton* btnClose = nullptr;
    MimicPicture* Tube1 = nullptr;
    MimicPicture* HiTube = nullptr;
    MimicPicture* ShortTube = nullptr;
    MimicPicture* Tower = nullptr;
    std::array<MimicPicture*, PumpCount> m_motors{};

    MimicPicture* imgMainTube = nullptr;
    MimicPicture* imgHiTube = nullptr;
    MimicPicture* imgShortTube = nullptr;
    MimicPicture* imgTower = nullptr;
    MimicPicture* imgMot1 = nullptr;
    MimicPicture* imgMot2 = nullptr;

    std::unique_ptr<Offscreen> m_mainOff, m_riserOff, m_shortOff, m_towerOff;
    std::unique_ptr<QPainter> m_tube1Painter;
    std::unique_ptr<BubbleField> m_bubbles;

    // Made once: building pens and brushes allocates.
    QPen m_lightBluePen, m_bluePen, m_greyPen;
    QBrush m_blueBrush, m_greyBrush;

    bool m_motorFrame = false;
    bool m_transpFlag = false;
    int m_frames = 0;
};

} // namespace tarvok::mimic
