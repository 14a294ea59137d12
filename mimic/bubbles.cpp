// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "mimic/bubbles.h"

namespace tarvok::mimic {

namespace rules {
// count, vertical, steps, start x, start y, wraps above, limit, restart,
// reroll, draw offset, shape widths, shape heights
const AreaRule MainPipe{40, false, {1, 2, 3}, {0, 969}, {0, 39}, true, 970, 0, {0, 39}, 0,
                        {5, 6, 7}, {5, 6, 7}};
const AreaRule Riser{40, true, {-1, -2, -3}, {0, 39}, {0, 439}, false, 1, 440, {0, 39}, 0,
                     {5, 6, 7}, {5, 6, 7}};
const AreaRule ShortPipe{20, false, {-1, -2, -3}, {0, 199}, {0, 59}, false, 0, 200, {0, 59}, 0,
                         {5, 6, 7}, {5, 6, 7}};
const AreaRule TowerUpper{20, true, {1, 2, 3}, {0, 59}, {0, 139}, true, 135, 0, {0, 59}, 50,
                          {5, 6, 7}, {5, 6, 7}};
const AreaRule TowerLower{20, true, {4, 5, 6}, {0, 59}, {140, 359}, true, 360, 140, {0, 59}, 50,
                          {5, 6, 7}, {3, 4, 5}};
} // namespace rules

BubbleArea::BubbleArea(const AreaRule& rule, Rng& rng) : m_rule(&rule), m_rng(&rng)
{
    for (auto& s : m_sets)
        s.resize(std::size_t(rule.count));
    scatter();
}

int BubbleArea::draw(Range r)
{
    return std::uniform_int_distribution<int>(r.lo, r.hi)(*m_rng);
}

void BubbleArea::scatter()
{
    for (auto& s : m_sets)
        for (Particle& p : s) {
            p.x = draw(m_rule->startX);
            p.y = draw(m_rule->startY);
        }
}

void BubbleArea::move()
{
    const AreaRule& r = *m_rule;
    for (std::size_t k = 0; k < m_sets.size(); ++k) {
        const int step = r.step[k];
        for (Particle& p : m_sets[k]) {
            int& along = r.vertical ? p.y : p.x;
            int& across = r.vertical ? p.x : p.y;
            along += step;
            if (r.wrapsAbove ? along > r.limit : along < r.limit) {
                along = r.restart;
                across = draw(r.reroll);
            }
        }
    }
}

BubbleField::BubbleField(std::uint32_t seed)
    : m_rng(seed),
      mainPipe(rules::MainPipe, m_rng),
      riser(rules::Riser, m_rng),
      shortPipe(rules::ShortPipe, m_rng),
      towerUpper(rules::TowerUpper, m_rng),
      towerLower(rules::TowerLower, m_rng)
{
}

} // namespace tarvok::mimic
