// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "link/poll_thread.h"

#include "link/controller_link.h"
#include "sim/sim_frame.h"
#include "tests/link/scripted_port.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <vector>

using namespace tarvok::link;
using tarvok::testing::Bytes;
using tarvok::testing::ScriptedPort;

namespace {

Bytes goodReadReply()
{
    Bytes body(153, 0);
    body[1] = 0x01;
    body[2] = 0x81;
    return tarvok::sim::encodeFrame(body);
}

// The window thread is this test's main thread; follow-ups are queued to an
// object living on it and run when the test spins its event loop.
class PollThread : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "tarvok_link_poll_thread_test";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
    }

    PollThread()
    {
        auto p = std::make_unique<ScriptedPort>();
        port = p.get();
        port->onWrite = [](ScriptedPort& sp, const Bytes&) { sp.arriveIn(0, goodReadReply()); };
        link.emplace(image, std::move(p));
        link->setSleeper([this](int ms) {
            port->advance(ms);
            ++exchanges;
        });
    }

    void openPort()
    {
        qputenv("TARVOK_COM6", "/scripted");
        link->Initial(6, 115200, QStringLiteral("open"), QStringLiteral("error"));
    }

    void makeThread(TComThread::FollowUp followUp)
    {
        thread = std::make_unique<TComThread>(*link, delayTime, &window, std::move(followUp));
        thread->setSleeper([this](int ms) {
            std::lock_guard lock(sleepsMutex);
            sleeps.push_back(ms);
        });
    }

    // Runs the window thread's events until pred holds; gives up after a
    // generous number of rounds so a fault fails the test instead of hanging.
    template <class Pred>
    bool spinUntil(Pred pred)
    {
        for (int i = 0; i < 20000 && !pred(); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QThread::usleep(200);
        }
        return pred();
    }

    // Waits, without running the window thread's events, until the poll
    // thread has made n exchanges; its follow-up is then (or soon) pending.
    bool waitForExchanges(int n)
    {
        for (int i = 0; i < 20000 && exchanges.load() < n; ++i)
            QThread::usleep(200);
        return exchanges.load() >= n;
    }

    std::vector<int> sleepsSeen()
    {
        std::lock_guard lock(sleepsMutex);
        return sleeps;
    }

    ControllerImage image;
    ScriptedPort* port = nullptr;
    std::optional<ControllerLink> link;
    std::atomic<int> delayTime{500};
    std::atomic<int> exchanges{0};
    QObject window;
    std::mutex sleepsMutex;
    std::vector<int> sleeps;
    std::unique_ptr<TComThread> thread;
};

TEST_F(PollThread, FollowUpRunsOnTheWindowThreadBeforeTheNextExchange)
{
    openPort();
    struct Seen {
        bool portOpen;
        int exchangeError;
        bool onWindowThread;
        int exchangesSoFar;
    };
    std::vector<Seen> seen;
    makeThread([&](bool portOpen, int err) {
        seen.push_back({portOpen, err, QThread::currentThread() == window.thread(), exchanges.load()});
    });
    thread->start();
    ASSERT_TRUE(spinUntil([&] { return seen.size() >= 3; }));
    thread->stopAndWait();
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(seen[i].portOpen);
        EXPECT_EQ(seen[i].exchangeError, 0);
        EXPECT_TRUE(seen[i].onWindowThread);
        EXPECT_EQ(seen[i].exchangesSoFar, static_cast<int>(i) + 1);
    }
    EXPECT_EQ(port->written.size(), seen.size());
}

TEST_F(PollThread, DelayTimeIsReadAnewBeforeEachSleep)
{
    openPort();
    int steps = 0;
    makeThread([&](bool, int) {
        if (++steps == 2)
            delayTime = 42;
    });
    thread->start();
    ASSERT_TRUE(spinUntil([&] { return steps >= 4; }));
    thread->stopAndWait();
    const std::vector<int> s = sleepsSeen();
    ASSERT_GE(s.size(), 4u);
    EXPECT_EQ(s[0], 500);
    EXPECT_EQ(s[1], 500);
    EXPECT_EQ(s[2], 42);
    EXPECT_EQ(s[3], 42);
}

TEST_F(PollThread, ZeroDelayDoesNotPauseButAClosedPortDoesNotSpin)
{
    delayTime = 0;
    int steps = 0;
    std::vector<std::pair<bool, int>> outcomes;
    makeThread([&](bool portOpen, int err) {
        outcomes.emplace_back(portOpen, err);
        if (++steps == 3)
            openPort();
    });
    thread->start();
    ASSERT_TRUE(spinUntil([&] { return steps >= 6; }));
    thread->stopAndWait();
    // Closed: no exchange, and at least one look's worth of pause per step.
    // Open: the exchange itself paces the steps.
    const std::vector<int> s = sleepsSeen();
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[0], 100);
    EXPECT_EQ(s[1], 100);
    EXPECT_EQ(s[2], 100);
    EXPECT_LE(s.size(), 4u); // one more only for the step right after opening
    EXPECT_EQ(outcomes[0], std::make_pair(false, 0));
    EXPECT_EQ(outcomes[4], std::make_pair(true, 0));
}

TEST_F(PollThread, PauseHoldsBetweenStepsUntilResumed)
{
    openPort();
    std::atomic<int> steps{0};
    makeThread([&](bool, int) { ++steps; });
    thread->start();
    ASSERT_TRUE(spinUntil([&] { return steps >= 1; }));
    thread->pause();
    const int heldAt = steps;
    const std::size_t writtenAt = port->written.size();
    // The window thread now owns the line, as the task transfer does.
    port->onWrite = [](ScriptedPort& sp, const Bytes&) {
        sp.arriveIn(0, tarvok::sim::encodeFrame({0x00, 0x01, 0x82, 0x00}));
    };
    link->Trans(1, 0, 2, 150, 0, 30);
    EXPECT_EQ(link->ExchangeError(), 0);
    for (int i = 0; i < 200; ++i) {
        QCoreApplication::processEvents();
        QThread::usleep(200);
    }
    EXPECT_EQ(steps.load(), heldAt);
    EXPECT_EQ(port->written.size(), writtenAt + 1);
    thread->resume();
    ASSERT_TRUE(spinUntil([&] { return steps >= heldAt + 2; }));
    thread->stopAndWait();
}

TEST_F(PollThread, PauseWhileTheFollowUpIsPendingRunsItAndReturns)
{
    openPort();
    std::atomic<int> steps{0};
    bool ranOnWindowThread = false;
    makeThread([&](bool, int) {
        ++steps;
        ranOnWindowThread = QThread::currentThread() == window.thread();
    });
    thread->start();
    ASSERT_TRUE(waitForExchanges(1));
    thread->pause(); // no events processed: the follow-up can only run here
    EXPECT_EQ(steps.load(), 1);
    EXPECT_TRUE(ranOnWindowThread);
    EXPECT_EQ(exchanges.load(), 1);
    // The queued delivery of that follow-up finds nothing left to run.
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(steps.load(), 1);
    thread->resume();
    ASSERT_TRUE(spinUntil([&] { return steps >= 2; }));
    thread->stopAndWait();
}

TEST_F(PollThread, StopDuringThePauseEndsTheThread)
{
    openPort();
    std::atomic<int> steps{0};
    makeThread([&](bool, int) { ++steps; });
    thread->start();
    ASSERT_TRUE(spinUntil([&] { return steps >= 1; }));
    thread->pause();
    const int heldAt = steps;
    thread->stopAndWait();
    EXPECT_TRUE(thread->isFinished());
    EXPECT_EQ(steps.load(), heldAt);
}

TEST_F(PollThread, StopWhileTheLastFollowUpIsPendingDoesNotDeadlock)
{
    openPort();
    std::atomic<int> steps{0};
    makeThread([&](bool, int) { ++steps; });
    thread->start();
    ASSERT_TRUE(waitForExchanges(1));
    thread->stopAndWait(); // as the closing does, with the window thread busy here
    EXPECT_TRUE(thread->isFinished());
    EXPECT_EQ(steps.load(), 1); // the last step is completed, not lost
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(steps.load(), 1);
}

TEST_F(PollThread, ThrowingFollowUpDoesNotEndTheThread)
{
    openPort();
    int steps = 0;
    makeThread([&](bool, int) {
        ++steps;
        if (steps == 1)
            throw std::runtime_error("archive file locked");
        if (steps == 2)
            throw 42;
    });
    thread->start();
    ASSERT_TRUE(spinUntil([&] { return steps >= 4; }));
    EXPECT_TRUE(thread->isRunning());
    thread->stopAndWait();
}

TEST_F(PollThread, PauseFromInsideTheFollowUpHoldsAfterIt)
{
    openPort();
    std::atomic<int> steps{0};
    makeThread([&](bool, int) {
        if (++steps == 1)
            thread->pause(); // e.g. a dialog opened from a nested event loop
    });
    thread->start();
    ASSERT_TRUE(spinUntil([&] { return steps >= 1; }));
    for (int i = 0; i < 200; ++i) {
        QCoreApplication::processEvents();
        QThread::usleep(200);
    }
    EXPECT_EQ(steps.load(), 1);
    EXPECT_EQ(exchanges.load(), 1);
    thread->resume();
    ASSERT_TRUE(spinUntil([&] { return steps >= 2; }));
    thread->stopAndWait();
}

TEST_F(PollThread, OwnerStopsItByDestruction)
{
    openPort();
    std::atomic<int> steps{0};
    makeThread([&](bool, int) { ++steps; });
    thread->start();
    ASSERT_TRUE(waitForExchanges(1));
    thread.reset();
    EXPECT_GE(steps.load(), 1);
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents(); // a late delivery must find nothing
}

} // namespace
