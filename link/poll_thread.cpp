// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "link/poll_thread.h"

#include "link/controller_link.h"

#include <QMetaObject>
#include <QtGlobal>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace tarvok::link {

// Lives as long as the longest holder: a follow-up posted to the window
// thread may be delivered after the TComThread is gone, and must then find
// nothing to run rather than a dead object.
struct TComThread::Shared {
    struct Step {
        bool portOpen;
        int exchangeError;
        std::uint64_t id;
    };

    FollowUp followUp;
    std::mutex m;
    std::condition_variable cv;
    bool stopRequested = false;
    int pauses = 0;
    bool held = false;
    bool active = false;
    std::optional<Step> pending;
    std::uint64_t lastPosted = 0;
    std::uint64_t lastDone = 0;
    std::thread::id followUpRunner; // default id when none is running

    // Runs the pending follow-up if nobody has taken it yet. Any thread may
    // call it; the follow-up itself runs without the lock held.
    void runPending()
    {
        std::unique_lock lock(m);
        if (!pending)
            return;
        const Step step = *pending;
        pending.reset();
        followUpRunner = std::this_thread::get_id();
        lock.unlock();
        try {
            if (followUp)
                followUp(step.portOpen, step.exchangeError);
        } catch (const std::exception& e) {
            qWarning("poll step follow-up failed: %s", e.what());
        } catch (...) {
            qWarning("poll step follow-up failed");
        }
        lock.lock();
        followUpRunner = {};
        lastDone = step.id;
        cv.notify_all();
    }

    bool runningFollowUpHere() const { return followUpRunner == std::this_thread::get_id(); }
};

TComThread::TComThread(ControllerLink& link, const std::atomic<int>& delayTime, QObject* followUpContext,
                       FollowUp followUp, QObject* parent)
    : QThread(parent)
    , link_(link)
    , delayTime_(delayTime)
    , context_(followUpContext)
    , sleep_([](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); })
    , shared_(std::make_shared<Shared>())
{
    shared_->followUp = std::move(followUp);
}

TComThread::~TComThread()
{
    stopAndWait();
}

void TComThread::setSleeper(Sleeper sleeper)
{
    sleep_ = std::move(sleeper);
}

void TComThread::pause()
{
    Shared& s = *shared_;
    std::unique_lock lock(s.m);
    ++s.pauses;
    s.cv.notify_all();
    // Inside the follow-up the poll thread is blocked waiting for us, outside
    // any exchange, and will hold as soon as we return to it.
    if (s.runningFollowUpHere())
        return;
    while (s.active && !s.held && !s.stopRequested) {
        if (s.pending) {
            lock.unlock();
            s.runPending();
            lock.lock();
            continue;
        }
        s.cv.wait(lock);
    }
}

void TComThread::resume()
{
    Shared& s = *shared_;
    std::lock_guard lock(s.m);
    if (s.pauses > 0)
        --s.pauses;
    s.cv.notify_all();
}

void TComThread::stopAndWait()
{
    Shared& s = *shared_;
    {
        std::unique_lock lock(s.m);
        s.stopRequested = true;
        s.cv.notify_all();
        if (s.runningFollowUpHere())
            return;
        while (s.active) {
            if (s.pending) {
                lock.unlock();
                s.runPending();
                lock.lock();
                continue;
            }
            s.cv.wait(lock);
        }
    }
    wait();
}

std::uint64_t TComThread::stepsDone() const
{
    std::lock_guard lock(shared_->m);
    return shared_->lastDone;
}

void TComThread::run()
{
    {
        std::lock_guard lock(shared_->m);
        if (shared_->stopRequested)
            return;
        shared_->active = true;
    }
    Execute();
    std::lock_guard lock(shared_->m);
    shared_->active = false;
    shared_->held = false;
    shared_->cv.notify_all();
}

void TComThread::Execute()
{
    Shared& s = *shared_;
    bool exchanged = true;
    for (;;) {
        {
            std::unique_lock lock(s.m);
            if (s.pauses > 0 && !s.stopRequested) {
                s.held = true;
                s.cv.notify_all();
                s.cv.wait(lock, [&] { return s.pauses == 0 || s.stopRequested; });
                s.held = false;
            }
            if (s.stopRequested)
                return;
        }
        int delay = delayTime_.load();
        // With the port closed a step makes no exchange and takes no time;
        // at a pause of 0 that would flood the window thread with follow-ups.
        if (!exchanged)
            delay = std::max(delay, ControllerLink::LookIntervalMs);
        try {
            if (delay > 0)
                sleep_(delay);
            exchanged = link_.PortOpen();
            PollStep();
        } catch (const std::exception& e) {
            qWarning("poll step failed: %s", e.what());
        } catch (...) {
            qWarning("poll step failed");
        }
    }
}

void TComThread::PollStep()
{
    if (link_.PortOpen())
        link_.Trans(1, 0, FuncRead, 0, 0, ReadDataSize);
    const bool portOpen = link_.PortOpen();
    const int exchangeError = link_.ExchangeError();

    Shared& s = *shared_;
    std::uint64_t id;
    {
        std::lock_guard lock(s.m);
        id = ++s.lastPosted;
        s.pending = Shared::Step{portOpen, exchangeError, id};
        // A pause() or stopAndWait() already waiting must see it and run it.
        s.cv.notify_all();
    }
    if (context_) {
        std::weak_ptr<Shared> weak = shared_;
        QMetaObject::invokeMethod(
            context_,
            [weak] {
                if (auto shared = weak.lock())
                    shared->runPending();
            },
            Qt::QueuedConnection);
    } else {
        s.runPending();
    }
    std::unique_lock lock(s.m);
    s.cv.wait(lock, [&] { return s.lastDone >= id; });
}

} // namespace tarvok::link
