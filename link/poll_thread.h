// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QObject>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace tarvok::link {

class ControllerLink;

// The poll thread: sleeps DelayTime, exchanges one read request when the
// port is open, then hands the step's follow-up (alarm evaluation, dose
// completion, archive, stop indicator, link supervision) to the thread of
// followUpContext and waits until it has run, so the next exchange never
// overwrites the image under a consumer.
//
// pause()/resume() hold the thread between two steps for the task transfer
// and the settings dialog; stopAndWait() ends it at closing. Both are called
// from the window thread while the poll thread may be waiting for its
// follow-up to run there, so both run a pending follow-up themselves instead
// of waiting for the event loop they are blocking.
class TComThread : public QThread {
    Q_OBJECT

public:
    // Gets the port state and the ExchangeError of the step. Whatever it
    // throws is caught and logged: the poll cycle runs until the program
    // closes.
    using FollowUp = std::function<void(bool portOpen, int exchangeError)>;
    using Sleeper = std::function<void(int milliseconds)>;

    // delayTime is read anew before each sleep (0: no pause). With a null
    // followUpContext the follow-up runs on the poll thread itself.
    TComThread(ControllerLink& link, const std::atomic<int>& delayTime, QObject* followUpContext,
               FollowUp followUp, QObject* parent = nullptr);
    // Requests the stop and waits for the thread.
    ~TComThread() override;

    // Replaces the real sleep between steps; before start() only.
    void setSleeper(Sleeper sleeper);

    // Returns once the thread is held between two steps (or is not running).
    // Pauses nest: each pause() needs its resume().
    void pause();
    void resume();

    // Requests the stop and waits for the thread to end. The step under way
    // (or the one after the current sleep) completes first, follow-up
    // included. Called from inside a follow-up it can only request the stop.
    void stopAndWait();

    // Completed steps, follow-up included.
    std::uint64_t stepsDone() const;

protected:
    void run() override;
    void Execute();

private:
    struct Shared;

    void PollStep();

    ControllerLink& link_;
    const std::atomic<int>& delayTime_;
    QObject* context_;
    Sleeper sleep_;
    std::shared_ptr<Shared> shared_;
};

} // namespace tarvok::link
