// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/closing.h"

#include <gtest/gtest.h>

namespace tarvok::app {
namespace {

struct Recorder {
    std::vector<std::string> steps;
    std::optional<QString> settingsResult;

    ClosingSteps closingSteps()
    {
        ClosingSteps s;
        s.journalExit = [this] { steps.push_back("journal"); };
        s.saveSettings = [this] {
            steps.push_back("settings");
            return settingsResult;
        };
        s.stopPollThread = [this] { steps.push_back("thread"); };
        s.closePort = [this] { steps.push_back("port"); };
        s.releaseStatusBitmap = [this] { steps.push_back("bitmap"); };
        return s;
    }
};

TEST(Closing, RunsEveryStepInOrder)
{
    Recorder r;
    EXPECT_EQ(runClosing(r.closingSteps()), std::nullopt);
    EXPECT_EQ(r.steps, (std::vector<std::string>{"journal", "settings", "thread", "port", "bitmap"}));
}

TEST(Closing, RefusedSettingsWriteStopsBeforeTheLinkIsTouched)
{
    Recorder r;
    r.settingsResult = QStringLiteral("Unable to write to /x/tarvok.ini");
    EXPECT_EQ(runClosing(r.closingSteps()), r.settingsResult);
    EXPECT_EQ(r.steps, (std::vector<std::string>{"journal", "settings"}));
}

TEST(Closing, AbsentLinkStepsAreSkipped)
{
    Recorder r;
    ClosingSteps s = r.closingSteps();
    s.stopPollThread = nullptr;
    s.closePort = nullptr;
    EXPECT_EQ(runClosing(s), std::nullopt);
    EXPECT_EQ(r.steps, (std::vector<std::string>{"journal", "settings", "bitmap"}));
}

} // namespace
} // namespace tarvok::app
