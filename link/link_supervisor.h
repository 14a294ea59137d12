// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "link/controller_image.h"

#include <cstdint>

namespace tarvok::link {

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t ColourLinkGood = 0x363670;
inline constexpr std::uint32_t ColourRed = 0xFF0000;
inline constexpr std::uint32_t ColourBlue = 0x0000FF;
inline constexpr std::uint32_t ColourPanel = 0xDFDFDE; // status picture ground, stop indicator off

// ImageList1 pictures of the link status icon.
inline constexpr int PictureConnected = 2;
inline constexpr int PictureDisconnected = 3;

// What one poll step asks of the status panel and the event strip.
struct LinkView {
    enum class Text { Good, Bad }; // lngSviazGood / lngSviazBad
    enum class Event { None, LinkBad, LinkGood };

    // False: the label and the picture stay as they are (text, colour and
    // picture below are then meaningless).
    bool statusChanged = false;
    Text text = Text::Good;
    std::uint32_t textColour = ColourLinkGood;
    int picture = PictureConnected;

    // LinkBad: AvariaMemo(lngSviazBad, red), an alarm event. LinkGood:
    // AvariaMemo(lngSviazGood, blue), an ordinary event.
    Event event = Event::None;
    std::uint32_t eventColour = ColourBlue;

    bool operator==(const LinkView&) const = default;
};

// Counts failed polls and turns each poll step's outcome into what the window
// shows. Runs wherever the step's follow-up runs; holds no lock of its own.
class LinkSupervisor {
public:
    // Back to the start state (everything 0), as at the main window's
    // creation.
    void reset();

    // portOpen: the port was open for this step; exchangeError: the link's
    // ExchangeError after the step (unchanged from the last exchange when the
    // port was closed and no exchange was made).
    LinkView step(bool portOpen, int exchangeError);

    int FailCount() const { return failCount_; }
    int LinkState() const { return linkState_; }
    int previousLinkState() const { return previousLinkState_; }
    int blinkPhase() const { return blinkPhase_; }

private:
    int failCount_ = 0;
    int linkState_ = 0;
    int previousLinkState_ = 0;
    int blinkPhase_ = 0;
};

// The stop indicator after a good step: red while the plant-stopped bit (bit
// 7 of image byte 83) is set.
std::uint32_t stopPanelColour(const ControllerImage& image);

} // namespace tarvok::link
