// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tasks/task_transfer.h"

#include <QEventLoop>
#include <QTimer>

namespace tarvok::tasks {

TaskTransfer::TaskTransfer(TaskLinkPort& port, TaskBlock& snapshot, Wait wait)
    : port_(port), snapshot_(snapshot), wait_(std::move(wait))
{
}

bool TaskTransfer::isReportedFailure(int exchangeError)
{
    switch (exchangeError) {
    case 1:
    case 2:
    case 5:
    case 6:
        return true;
    default:
        return false;
    }
}

TaskTransfer::Result TaskTransfer::run(const Confirm& confirm, const ReportFailure& reportFailure)
{
    Result result;
    if (!confirm())
        return result;
    result.confirmed = true;

    port_.holdPolling();
    {
        struct Resume {
            TaskLinkPort& port;
            ~Resume() { port.resumePolling(); }
        } resume{port_};

        if (wait_)
            wait_(HoldSettleMs);
        // The editors are not part of the block: the controller is sent a
        // cleared block whatever the window shows.
        block_.fill(0);
        result.exchangeError = port_.writeTaskBlock(block_);
        if (result.exchangeError == 0)
            snapshot_ = block_;
    }

    if (isReportedFailure(result.exchangeError) && reportFailure)
        reportFailure(result.exchangeError);
    return result;
}

void waitProcessingEvents(int ms)
{
    // User input stays queued: a second click or a close of the window must
    // not start inside the transfer it is waiting for.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tarvok::tasks
