// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/options_apply.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace tarvok::app;

namespace {

struct ApplyCase {
    std::string name;
    int oldPort, oldSpeed;
    OptionsChoice choice;
    int port, maxArhDay, speed, delay;
};

class ApplyOptions : public testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyOptions, StoresWhatTheDialogHolds)
{
    const ApplyCase& c = GetParam();
    Settings s;
    s.ComPort = c.oldPort;
    s.ComSpeed = c.oldSpeed;
    s.MaxArhDay = 45;
    s.DelayTime = 500;
    applyOptions(s, c.choice);
    EXPECT_EQ(s.ComPort, c.port);
    EXPECT_EQ(s.MaxArhDay, c.maxArhDay);
    EXPECT_EQ(s.ComSpeed, c.speed);
    EXPECT_EQ(s.DelayTime, c.delay);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyOptions,
    testing::Values(
        ApplyCase{"AllTaken", 1, 115200, {2, 10, QStringLiteral("9600"), 250}, 3, 10, 9600, 250},
        // No port shown (ComPort below 1): the old value stays, not 0.
        ApplyCase{
            "NoPortKeepsOldPort", 0, 9600, {-1, 7, QStringLiteral("19200"), 100}, 0, 7, 19200, 100},
        ApplyCase{"NoPortKeepsNegativePort",
                  -3,
                  9600,
                  {-1, 7, QStringLiteral("9600"), 100},
                  -3,
                  7,
                  9600,
                  100},
        // No speed shown (a speed not offered): the rest is still applied.
        ApplyCase{"NoSpeedKeepsOldSpeed", 2, 250000, {0, 9, QString(), 42}, 1, 9, 250000, 42},
        ApplyCase{
            "TypedValuesAsTheyCome", 4, 110, {3, 150, QStringLiteral("110"), 1}, 4, 150, 110, 1}),
    [](const testing::TestParamInfo<ApplyCase>& info) { return info.param.name; });

// One log for every call, so the order is what is checked.
struct FakePort : PortControl {
    std::vector<std::string> log;
    bool openOk = true;
    bool throwOnOpen = false;
    void pausePolling() override { log.push_back("pause"); }
    void closePort() override { log.push_back("close"); }
    Opened openPort(int comPort, int comSpeed) override
    {
        log.push_back("open " + std::to_string(comPort) + " " + std::to_string(comSpeed));
        if (throwOnOpen)
            throw std::runtime_error("device vanished");
        return openOk ? Opened{QStringLiteral("COM-порт открыт"), true}
                      : Opened{QStringLiteral("Ошибка COM-порта -1"), false};
    }
    void resumePolling() override { log.push_back("resume"); }
};

// Holds the continuation until the test fires it, as a timer would.
struct HeldScheduler {
    std::vector<int> delays;
    std::vector<std::function<void()>> pending;
    Scheduler scheduler()
    {
        return [this](int ms, std::function<void()> then) {
            delays.push_back(ms);
            pending.push_back(std::move(then));
        };
    }
};

struct ReopenCase {
    std::string name;
    bool openOk;
};

class Reopen : public testing::TestWithParam<ReopenCase> {};

TEST_P(Reopen, WaitsThenPausesClosesOpensWithNewSettingsAndResumes)
{
    FakePort port;
    port.openOk = GetParam().openOk;
    Settings settings;
    settings.ComPort = 1;
    settings.ComSpeed = 115200;
    HeldScheduler timer;
    std::vector<PortControl::Opened> shown;

    reopenPortLater(port, settings, timer.scheduler(),
                    [&shown](const PortControl::Opened& o) { shown.push_back(o); });
    // Nothing touches the port before the delay has passed, and the values
    // used are those in force when it has.
    EXPECT_TRUE(port.log.empty());
    EXPECT_EQ(timer.delays, std::vector<int>{600});
    settings.ComPort = 2;
    settings.ComSpeed = 9600;
    ASSERT_EQ(timer.pending.size(), 1u);
    timer.pending[0]();

    EXPECT_EQ(port.log, (std::vector<std::string>{"pause", "close", "open 2 9600", "resume"}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].ok, GetParam().openOk);
    EXPECT_EQ(shown[0].message, GetParam().openOk ? QStringLiteral("COM-порт открыт")
                                                  : QStringLiteral("Ошибка COM-порта -1"));
}

INSTANTIATE_TEST_SUITE_P(Outcomes, Reopen,
                         testing::Values(ReopenCase{"Opened", true}, ReopenCase{"Failed", false}),
                         [](const testing::TestParamInfo<ReopenCase>& info) {
                             return info.param.name;
                         });

TEST(ReopenPort, UnchangedSettingsStillReopen)
{
    FakePort port;
    Settings settings; // defaults: COM 1, 115200
    reopenPort(port, settings);
    reopenPort(port, settings);
    EXPECT_EQ(port.log, (std::vector<std::string>{"pause", "close", "open 1 115200", "resume",
                                                  "pause", "close", "open 1 115200", "resume"}));
}

TEST(ReopenPort, ResumesWhenOpeningThrows)
{
    FakePort port;
    port.throwOnOpen = true;
    Settings settings;
    EXPECT_THROW(reopenPort(port, settings), std::runtime_error);
    EXPECT_EQ(port.log, (std::vector<std::string>{"pause", "close", "open 1 115200", "resume"}));
}

} // namespace
