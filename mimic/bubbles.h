// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace tarvok::mimic {

struct Particle {
    int x = 0;
    int y = 0;
};

struct Range {
    int lo = 0;
    int hi = 0; // included
};

// How one animated area's particles start, move, wrap and look. Every area
// has three sets, one per speed.
struct AreaRule {
    int count = 0;              // particles per set
    bool vertical = false;      // moves along y (otherwise along x)
    std::array<int, 3> step{};  // signed move per tick, sets 1..3
    Range startX, startY;       // uniform start position
    bool wrapsAbove = false;    // wraps when the coordinate > limit (otherwise < limit)
    int limit = 0;
    int restart = 0;            // the moving coordinate after a wrap
    Range reroll;               // the other coordinate after a wrap
    int drawOffsetX = 0;        // shapes are drawn at (x + drawOffsetX, y)
    std::array<int, 3> shapeW{}, shapeH{}; // ellipse box per set
};

namespace rules {
extern const AreaRule MainPipe;
extern const AreaRule Riser;
extern const AreaRule ShortPipe;
extern const AreaRule TowerUpper;
extern const AreaRule TowerLower;
} // namespace rules

using Rng = std::mt19937;

class BubbleArea {
public:
    BubbleArea(const AreaRule& rule, Rng& rng);

    const AreaRule& rule() const { return *m_rule; }
    // Gives every particle a fresh random start.
    void scatter();
    // One tick: every particle moves by its set's step, then wraps.
    void move();

    std::vector<Particle>& set(int index) { return m_sets[std::size_t(index)]; }
    const std::vector<Particle>& set(int index) const { return m_sets[std::size_t(index)]; }

private:
    int draw(Range r);

    const AreaRule* m_rule;
    Rng* m_rng;
    std::array<std::vector<Particle>, 3> m_sets;
};

// All five particle areas of the station picture, sharing one generator.
class BubbleField {
    Rng m_rng; // first: the areas draw from it while they are constructed

public:
    explicit BubbleField(std::uint32_t seed);
    BubbleField(const BubbleField&) = delete;
    BubbleField& operator=(const BubbleField&) = delete;

    BubbleArea mainPipe;
    BubbleArea riser;
    BubbleArea shortPipe;
    BubbleArea towerUpper;
    BubbleArea towerLower;
};

} // namespace tarvok::mimic
