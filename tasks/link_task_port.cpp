// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tasks/link_task_port.h"

#include "link/controller_link.h"
#include "link/poll_thread.h"

namespace tarvok::tasks {

LinkTaskPort::LinkTaskPort(link::ControllerLink& link, link::TComThread& pollThread)
    : link_(link), pollThread_(pollThread)
{
}

void LinkTaskPort::holdPolling()
{
    pollThread_.pause();
}

void LinkTaskPort::resumePolling()
{
    pollThread_.resume();
}

int LinkTaskPort::writeTaskBlock(const TaskBlock& block)
{
    link_.taskBlock() = block;
    link_.Trans(1, 0, 2, 150, 0, TaskBlockSize);
    return link_.ExchangeError();
}

} // namespace tarvok::tasks
