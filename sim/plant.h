// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace tarvok::sim {

// A small model of the batching plant behind the controller's data area:
// six dosers filling to their setpoints and finishing doses, alarm bits that
// rise and clear, the plant-stopped bit and the dosing mode. It moves one
// step per read request, so its pace follows the workstation's polls.
class Plant {
public:
    static constexpr int AreaSize = 180; // 0-149 read, 150-179 the task block
    static constexpr int Dosers = 6;

    struct Dose {
        int doser;         // 1-6
        int marker;
        int setpoint;
        int task;
        int material;
        int weight;
    };

    Plant(std::uint32_t seed, int dosePolls);

    void advance();
    // Doses finished by the last advance().
    const std::vector<Dose>& finished() const { return finished_; }

    const std::array<std::uint8_t, AreaSize>& area() const { return area_; }
    void write(int start, const std::uint8_t* bytes, int count);

private:
    struct Doser {
        int phase = 0;
        int setpoint = 0;
        int correction = 0;
        int material = 1;
        std::uint8_t marker = 0;
        int weight = 0;
    };
    struct AlarmBit {
        int byte;
        int bit;
        long clearsAt; // poll at which a raised bit clears again
    };

    void newDose(Doser& d);
    void put16(int at, int value);
    void publish();
    int randomIn(int lo, int hi);

    std::mt19937 rng_;
    int dosePolls_;
    long poll_ = 0;
    std::array<Doser, Dosers> dosers_{};
    std::vector<AlarmBit> raised_;
    long stopUntil_ = 0;
    int portions_ = 4;
    std::uint8_t mode_ = 1;
    std::array<std::uint8_t, AreaSize> area_{};
    std::vector<Dose> finished_;
};

} // namespace tarvok::sim
