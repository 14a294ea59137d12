// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "mimic/bubbles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tarvok::mimic {
namespace {

enum class Which { Main, Riser, Short, TowerUpper, TowerLower };

BubbleArea& area(BubbleField& f, Which w)
{
    switch (w) {
    case Which::Main: return f.mainPipe;
    case Which::Riser: return f.riser;
    case Which::Short: return f.shortPipe;
    case Which::TowerUpper: return f.towerUpper;
    case Which::TowerLower: break;
    }
    return f.towerLower;
}

struct WrapCase {
    const char* name;
    Which which;
    int set;
    Particle start;
    int along;        // expected moving coordinate after one tick
    bool rerolled;    // the other coordinate is drawn anew in `reroll`
};

class WrapRules : public testing::TestWithParam<WrapCase> {};

TEST_P(WrapRules, OneTickAtTheBoundary)
{
    const WrapCase& c = GetParam();
    BubbleField field(7);
    BubbleArea& a = area(field, c.which);
    a.set(c.set)[0] = c.start;
    a.move();
    const Particle p = a.set(c.set)[0];
    const AreaRule& r = a.rule();
    EXPECT_EQ(r.vertical ? p.y : p.x, c.along);
    const int across = r.vertical ? p.x : p.y;
    if (c.rerolled) {
        EXPECT_GE(across, r.reroll.lo);
        EXPECT_LE(across, r.reroll.hi);
    } else {
        EXPECT_EQ(across, r.vertical ? c.start.x : c.start.y);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, WrapRules,
    testing::Values(
        WrapCase{"MainStaysAt970", Which::Main, 0, {969, 12}, 970, false},
        WrapCase{"MainWrapsAt971", Which::Main, 0, {970, 12}, 0, true},
        WrapCase{"MainFastStaysAt970", Which::Main, 2, {967, 12}, 970, false},
        WrapCase{"MainFastWrapsPast970", Which::Main, 2, {968, 12}, 0, true},
        WrapCase{"RiserStaysAt1", Which::Riser, 0, {20, 2}, 1, false},
        WrapCase{"RiserWrapsAt0", Which::Riser, 0, {20, 1}, 440, true},
        WrapCase{"RiserFastWrapsBelow0", Which::Riser, 2, {20, 2}, 440, true},
        WrapCase{"ShortStaysAt0", Which::Short, 0, {1, 30}, 0, false},
        WrapCase{"ShortWrapsBelow0", Which::Short, 0, {0, 30}, 200, true},
        WrapCase{"ShortFastStaysAt0", Which::Short, 2, {3, 30}, 0, false},
        WrapCase{"TowerUpperStaysAt135", Which::TowerUpper, 0, {30, 134}, 135, false},
        WrapCase{"TowerUpperWrapsAt136", Which::TowerUpper, 0, {30, 135}, 0, true},
        WrapCase{"TowerLowerStaysAt360", Which::TowerLower, 0, {30, 356}, 360, false},
        WrapCase{"TowerLowerWrapsAt361", Which::TowerLower, 0, {30, 357}, 140, true},
        WrapCase{"TowerLowerFastWrapsTo140", Which::TowerLower, 2, {30, 355}, 140, true}),
    [](const testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.name); });

struct Bounds {
    int xlo, xhi, ylo, yhi;
};

struct RangeCase {
    const char* name;
    Which which;
    int count;
    Bounds start;   // uniform start ranges, ends included
    Bounds running; // where particles stay while they move
};

class Ranges : public testing::TestWithParam<RangeCase> {};

// Fixed seeds keep this deterministic: enough draws reach both ends of every
// start range, and long runs never leave the area's lane.
TEST_P(Ranges, StartSpreadAndLaneWhileRunning)
{
    const RangeCase& c = GetParam();
    Bounds seen{1 << 20, -(1 << 20), 1 << 20, -(1 << 20)};
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        BubbleField field(seed);
        BubbleArea& a = area(field, c.which);
        for (int s = 0; s < 3; ++s) {
            ASSERT_EQ(int(a.set(s).size()), c.count);
            for (const Particle& p : a.set(s)) {
                seen = {std::min(seen.xlo, p.x), std::max(seen.xhi, p.x), std::min(seen.ylo, p.y),
                        std::max(seen.yhi, p.y)};
            }
        }
    }
    EXPECT_EQ(seen.xlo, c.start.xlo);
    EXPECT_EQ(seen.xhi, c.start.xhi);
    EXPECT_EQ(seen.ylo, c.start.ylo);
    EXPECT_EQ(seen.yhi, c.start.yhi);

    BubbleField field(99);
    BubbleArea& a = area(field, c.which);
    for (int tick = 0; tick < 2000; ++tick) {
        a.move();
        for (int s = 0; s < 3; ++s)
            for (const Particle& p : a.set(s)) {
                ASSERT_GE(p.x, c.running.xlo);
                ASSERT_LE(p.x, c.running.xhi);
                ASSERT_GE(p.y, c.running.ylo);
                ASSERT_LE(p.y, c.running.yhi);
            }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Areas, Ranges,
    testing::Values(RangeCase{"Main", Which::Main, 40, {0, 969, 0, 39}, {0, 970, 0, 39}},
                    RangeCase{"Riser", Which::Riser, 40, {0, 39, 0, 439}, {0, 39, 1, 440}},
                    RangeCase{"Short", Which::Short, 20, {0, 199, 0, 59}, {0, 200, 0, 59}},
                    RangeCase{"TowerUpper", Which::TowerUpper, 20, {0, 59, 0, 139}, {0, 59, 0, 135}},
                    RangeCase{"TowerLower", Which::TowerLower, 20, {0, 59, 140, 359},
                              {0, 59, 140, 360}}),
    [](const testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

TEST(BubbleField, SeedsGiveDifferentStarts)
{
    BubbleField a(1), b(2);
    const auto& pa = a.mainPipe.set(0);
    const auto& pb = b.mainPipe.set(0);
    EXPECT_FALSE(std::equal(pa.begin(), pa.end(), pb.begin(),
                            [](const Particle& l, const Particle& r) { return l.x == r.x && l.y == r.y; }));
}

} // namespace
} // namespace tarvok::mimic
