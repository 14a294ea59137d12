// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "link/link_supervisor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tarvok::link;

namespace {

struct Step {
    bool portOpen;
    int exchangeError;
};

// What the window shows after a step, in short: "-" nothing changes; "G" the
// good text in #363670 with picture 2; "B3"/"B2" the bad text in red with
// that picture. A trailing "+" is the ordinary link-good event in blue, "!"
// the link-lost alarm event in red.
std::string shown(const LinkView& v)
{
    std::string s;
    if (!v.statusChanged) {
        s = "-";
    } else if (v.text == LinkView::Text::Good) {
        s = v.textColour == 0x363670 && v.picture == 2 ? "G" : "G?";
    } else {
        s = v.textColour == 0xFF0000 ? "B" + std::to_string(v.picture) : "B?";
    }
    if (v.event == LinkView::Event::LinkGood)
        s += v.eventColour == 0x0000FF ? "+" : "+?";
    else if (v.event == LinkView::Event::LinkBad)
        s += v.eventColour == 0xFF0000 ? "!" : "!?";
    return s;
}

struct SupervisionCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> expected;
    int failCount;
    int linkState;
};

constexpr Step Good{true, 0};
constexpr Step NoReply{true, 5};
constexpr Step Malformed{true, 6};
constexpr Step ClosedAfterGood{false, 0};
constexpr Step ClosedAfterFailure{false, 5};

class Supervision : public ::testing::TestWithParam<SupervisionCase> {};

TEST_P(Supervision, ShowsAndLogsTheLinkState)
{
    LinkSupervisor s;
    std::vector<std::string> got;
    for (const Step& step : GetParam().steps)
        got.push_back(shown(s.step(step.portOpen, step.exchangeError)));
    EXPECT_EQ(got, GetParam().expected);
    EXPECT_EQ(s.FailCount(), GetParam().failCount);
    EXPECT_EQ(s.LinkState(), GetParam().linkState);
    EXPECT_EQ(s.previousLinkState(), s.LinkState());
}

INSTANTIATE_TEST_SUITE_P(
    LinkSupervisor, Supervision,
    ::testing::Values(
        SupervisionCase{"silent_from_start",
                        {NoReply, NoReply, NoReply, NoReply, NoReply, NoReply, NoReply},
                        {"-", "-", "-", "B3!", "B2", "B3", "B2"},
                        4,
                        2},
        SupervisionCase{"answering_from_start", {Good, Good, Good}, {"G+", "G", "G"}, 0, 1},
        SupervisionCase{"three_failures_between_good_ones",
                        {Good, NoReply, Malformed, NoReply, Good},
                        {"G+", "-", "-", "-", "G"},
                        0,
                        1},
        SupervisionCase{"lost_and_regained",
                        {Good, NoReply, NoReply, NoReply, Malformed, NoReply, Good},
                        {"G+", "-", "-", "-", "B3!", "B2", "G+"},
                        0,
                        1},
        SupervisionCase{"blink_phase_carries_over_a_good_step",
                        {NoReply, NoReply, NoReply, NoReply, Good, NoReply, NoReply, NoReply, NoReply},
                        {"-", "-", "-", "B3!", "G+", "-", "-", "-", "B2!"},
                        4,
                        2},
        SupervisionCase{"port_not_open_at_start",
                        {ClosedAfterGood, ClosedAfterGood, ClosedAfterGood, ClosedAfterGood, ClosedAfterGood},
                        {"-", "-", "-", "-", "-"},
                        0,
                        0},
        SupervisionCase{"port_closed_after_good_exchange_is_a_lost_link",
                        {Good, ClosedAfterGood, ClosedAfterGood, ClosedAfterGood, ClosedAfterGood,
                         ClosedAfterGood, Good},
                        {"G+", "-", "-", "-", "B3!", "B2", "G+"},
                        0,
                        1},
        SupervisionCase{"port_closed_after_failures_keeps_counting",
                        {NoReply, NoReply, ClosedAfterFailure, ClosedAfterFailure, ClosedAfterFailure},
                        {"-", "-", "-", "B3!", "B2"},
                        4,
                        2},
        SupervisionCase{"write_result_code_in_a_poll_counts_as_failure",
                        {Step{true, 3}, Step{true, 1}, Step{true, 255}, Step{true, 2}},
                        {"-", "-", "-", "B3!"},
                        4,
                        2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkSupervisor, ResetStartsOver)
{
    LinkSupervisor s;
    for (int i = 0; i < 5; ++i)
        s.step(true, 5);
    s.reset();
    EXPECT_EQ(s.FailCount(), 0);
    EXPECT_EQ(s.LinkState(), 0);
    EXPECT_EQ(s.blinkPhase(), 0);
    EXPECT_EQ(shown(s.step(true, 0)), "G+");
}

TEST(LinkSupervisor, StopIndicatorFollowsTheStopBit)
{
    ControllerImage image;
    for (auto [byte, colour] : {std::pair{0x80, 0xFF0000u}, {0x7F, 0xDFDFDEu}, {0xFF, 0xFF0000u}, {0x00, 0xDFDFDEu}}) {
        image.main[83] = static_cast<std::uint8_t>(byte);
        EXPECT_EQ(stopPanelColour(image), colour) << byte;
    }
}

} // namespace
