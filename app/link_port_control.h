// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "app/options_apply.h"

#include <functional>

namespace tarvok::link {
class ControllerLink;
class TComThread;
} // namespace tarvok::link

namespace tarvok::app {

// The port reopening on the real link. The texts are asked for at each
// opening, so a language switch in between is followed.
class LinkPortControl : public PortControl {
public:
    using Text = std::function<QString()>;

    LinkPortControl(link::ControllerLink& link, link::TComThread& pollThread, Text openText,
                    Text errorText);

    void pausePolling() override;
    void closePort() override;
    Opened openPort(int comPort, int comSpeed) override;
    void resumePolling() override;

private:
    link::ControllerLink& link_;
    link::TComThread& pollThread_;
    Text openText_;
    Text errorText_;
};

} // namespace tarvok::app
