// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "link/link_supervisor.h"

namespace tarvok::link {

void LinkSupervisor::reset()
{
    *this = LinkSupervisor{};
}

LinkView LinkSupervisor::step(bool portOpen, int exchangeError)
{
    LinkView view;
    // A port that was closed under a link that had been up (the settings
    // dialog reopened it at a device that is not there) is no link, even
    // though the last exchange made was good: count it as one without a
    // reply. A port that never opened leaves the link state unknown.
    if (!portOpen && exchangeError == 0 && linkState_ != 0)
        exchangeError = 5;
    const bool failed = exchangeError != 0 || !portOpen;
    if (failed) {
        if (exchangeError > 0 && failCount_ < 4)
            ++failCount_;
        if (failCount_ > 3) {
            view.statusChanged = true;
            view.text = LinkView::Text::Bad;
            view.textColour = ColourRed;
            linkState_ = 2;
            view.picture = blinkPhase_ == 0 ? PictureDisconnected : PictureConnected;
            blinkPhase_ ^= 1;
        }
    } else {
        failCount_ = 0;
        view.statusChanged = true;
        view.text = LinkView::Text::Good;
        view.textColour = ColourLinkGood;
        linkState_ = 1;
        view.picture = PictureConnected;
    }

    if (linkState_ != previousLinkState_) {
        if (linkState_ == 2) {
            view.event = LinkView::Event::LinkBad;
            view.eventColour = ColourRed;
        } else if (linkState_ == 1) {
            view.event = LinkView::Event::LinkGood;
            view.eventColour = ColourBlue;
        }
    }
    previousLinkState_ = linkState_;
    return view;
}

std::uint32_t stopPanelColour(const ControllerImage& image)
{
    return (image.main[83] & 0x80) ? ColourRed : ColourPanel;
}

} // namespace tarvok::link
