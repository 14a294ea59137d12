// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace tarvok::tasks {

inline constexpr int TaskBlockSize = 30;
using TaskBlock = std::array<std::uint8_t, TaskBlockSize>;

// What the transfer needs of the controller link. The application adapts the
// real link to it; tests use a fake.
struct TaskLinkPort {
    virtual ~TaskLinkPort() = default;
    // Asks the poll thread to stop at the end of its current step; it never
    // interrupts an exchange. Must not block the window thread while the poll
    // thread waits for it to run that step's follow-up.
    virtual void holdPolling() = 0;
    virtual void resumePolling() = 0;
    // One write exchange of the block at controller address 150, count 30,
    // once the poll thread is really held. Returns the exchange result code
    // (0 good, 5 no or short answer, 6 bad frame, otherwise the controller's
    // result code).
    virtual int writeTaskBlock(const TaskBlock& block) = 0;
};

class TaskTransfer {
public:
    // Gives a poll step already running time to finish before the write.
    static constexpr int HoldSettleMs = 600;

    using Wait = std::function<void(int ms)>;
    using Confirm = std::function<bool()>;
    using ReportFailure = std::function<void(int exchangeError)>;

    // snapshot: the program's copy of the task, replaced by a successful
    // transfer; it must outlive this object.
    TaskTransfer(TaskLinkPort& port, TaskBlock& snapshot, Wait wait);

    struct Result {
        bool confirmed = false;
        int exchangeError = 0; // meaningful when confirmed
    };

    // The whole transfer. Nothing is sent and polling is not touched unless
    // confirm() says yes. Polling is resumed whatever happens after it was
    // held, also when the wait or the write throws (the exception then
    // propagates). reportFailure is called after polling resumed, for the
    // codes operators are told about only.
    Result run(const Confirm& confirm, const ReportFailure& reportFailure);

    // 1, 2: refused by the controller; 5, 6: no or bad answer. Other codes
    // are left unreported.
    static bool isReportedFailure(int exchangeError);

    const TaskBlock& snapshot() const { return snapshot_; }
    const TaskBlock& block() const { return block_; }

private:
    TaskLinkPort& port_;
    TaskBlock& snapshot_;
    Wait wait_;
    TaskBlock block_{};
};

// The application's wait: events other than user input are still handled,
// so that a poll step handing its follow-up to the window thread can finish
// while the transfer waits.
void waitProcessingEvents(int ms);

} // namespace tarvok::tasks
