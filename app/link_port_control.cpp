// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/link_port_control.h"

#include "link/controller_link.h"
#include "link/poll_thread.h"

namespace tarvok::app {

LinkPortControl::LinkPortControl(link::ControllerLink& link, link::TComThread& pollThread,
                                 Text openText, Text errorText)
    : link_(link), pollThread_(pollThread), openText_(std::move(openText)),
      errorText_(std::move(errorText))
{
}

void LinkPortControl::pausePolling()
{
    pollThread_.pause();
}

void LinkPortControl::closePort()
{
    link_.closePort();
}

PortControl::Opened LinkPortControl::openPort(int comPort, int comSpeed)
{
    Opened opened;
    opened.message = link_.Initial(comPort, comSpeed, openText_(), errorText_());
    opened.ok = link_.PortOpen();
    return opened;
}

void LinkPortControl::resumePolling()
{
    pollThread_.resume();
}

} // namespace tarvok::app
