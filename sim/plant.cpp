// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "sim/plant.h"

#include <algorithm>

namespace tarvok::sim {

Plant::Plant(std::uint32_t seed, int dosePolls)
    : rng_(seed)
    , dosePolls_(std::max(2, dosePolls))
{
    for (int k = 0; k < Dosers; ++k) {
        Doser& d = dosers_[k];
        newDose(d);
        // Staggered, so the dosers do not all finish on the same poll.
        d.phase = (k * dosePolls_) / Dosers;
    }
    // A plant is rarely free of alarms when the workstation starts watching.
    raised_.push_back(AlarmBit{84, randomIn(0, 7), randomIn(10, 40)});
    raised_.push_back(AlarmBit{87, randomIn(0, 7), randomIn(10, 40)});
    publish();
}

int Plant::randomIn(int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(rng_);
}

void Plant::newDose(Doser& d)
{
    d.setpoint = randomIn(4, 40) * 50;
    d.correction = randomIn(-20, 20);
    d.material = randomIn(1, 9);
    d.weight = randomIn(-3, 3); // tare noise: a little below zero now and then
    d.phase = 0;
}

void Plant::put16(int at, int value)
{
    const auto v = static_cast<std::uint16_t>(value);
    area_[at] = static_cast<std::uint8_t>(v & 0xFF);
    area_[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Plant::advance()
{
    ++poll_;
    finished_.clear();

    for (int k = 0; k < Dosers; ++k) {
        Doser& d = dosers_[k];
        ++d.phase;
        if (d.phase < dosePolls_) {
            d.weight = (d.setpoint + d.correction) * d.phase / dosePolls_ + randomIn(-3, 3);
            continue;
        }
        // Dose finished: the record carries it until the next one.
        const int unloaded = std::max(0, d.setpoint + d.correction + randomIn(-10, 10));
        d.marker = static_cast<std::uint8_t>(d.marker % 255 + 1);
        const int base = 100 + 8 * k;
        area_[base] = d.marker;
        put16(base + 1, d.setpoint);
        put16(base + 3, d.setpoint);
        area_[base + 5] = static_cast<std::uint8_t>(d.material);
        put16(base + 6, unloaded);
        finished_.push_back(Dose{k + 1, d.marker, d.setpoint, d.setpoint, d.material, unloaded});
        newDose(d);
    }

    // Alarm bits of bytes 83-88; bit 7 of 83 is the stop bit, bits 5-7 of 88
    // are not in use.
    raised_.erase(std::remove_if(raised_.begin(), raised_.end(),
                                 [&](const AlarmBit& a) { return a.clearsAt <= poll_; }),
                  raised_.end());
    if (randomIn(0, 99) < 4) {
        const int byte = randomIn(83, 88);
        const int bit = randomIn(0, byte == 83 ? 6 : byte == 88 ? 4 : 7);
        const bool already = std::any_of(raised_.begin(), raised_.end(),
                                         [&](const AlarmBit& a) { return a.byte == byte && a.bit == bit; });
        if (!already)
            raised_.push_back(AlarmBit{byte, bit, poll_ + randomIn(5, 40)});
    }
    if (stopUntil_ < poll_ && randomIn(0, 999) < 5)
        stopUntil_ = poll_ + randomIn(10, 40);
    if (randomIn(0, 999) < 3)
        mode_ ^= 1;
    if (randomIn(0, 199) == 0)
        portions_ = randomIn(1, 10);

    publish();
}

void Plant::publish()
{
    for (int k = 0; k < Dosers; ++k) {
        const Doser& d = dosers_[k];
        area_[3 * (k + 1) - 1] = static_cast<std::uint8_t>(d.material);
        put16(3 * (k + 1), d.setpoint);
        put16(19 + 2 * (k + 1), d.setpoint + d.correction);
        put16(34 + 2 * (k + 1), d.weight);
    }
    area_[33] = static_cast<std::uint8_t>(portions_);
    for (int i = 0; i < 10; ++i)
        area_[90 + i] = static_cast<std::uint8_t>(i < Dosers ? dosers_[i].material : portions_);

    for (int b = 83; b <= 88; ++b)
        area_[b] = 0;
    for (const AlarmBit& a : raised_)
        area_[a.byte] |= static_cast<std::uint8_t>(1u << a.bit);
    if (stopUntil_ >= poll_ && poll_ > 0)
        area_[83] |= 0x80;
    area_[148] = (area_[148] & 0xFE) | mode_;
}

void Plant::write(int start, const std::uint8_t* bytes, int count)
{
    for (int i = 0; i < count && start + i < AreaSize; ++i)
        if (start + i >= 0)
            area_[start + i] = bytes[i];
}

} // namespace tarvok::sim
