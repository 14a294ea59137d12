// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "tasks/task_transfer.h"

namespace tarvok::link {
class ControllerLink;
class TComThread;
} // namespace tarvok::link

namespace tarvok::tasks {

// The task transfer on the real link: the poll thread is held with
// TComThread::pause(), which runs a follow-up pending on the window thread
// itself, so holding never deadlocks with a poll step handing its work over.
class LinkTaskPort : public TaskLinkPort {
public:
    LinkTaskPort(link::ControllerLink& link, link::TComThread& pollThread);

    void holdPolling() override;
    void resumePolling() override;
    int writeTaskBlock(const TaskBlock& block) override;

private:
    link::ControllerLink& link_;
    link::TComThread& pollThread_;
};

} // namespace tarvok::tasks
