// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the sample measurement files: realistic competition flights made with the flight
// synthesiser, so that their conversion gives the intended altitude profiles.
//
//   vantorel-make-samples OUTPUT_FOLDER

#include "flight_synthesiser.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using vtl::testing::FlightDescription;

// Deterministic noise of a few centimetres, so that the files are the same on every machine.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed) {}
    int32_t centimetres(int32_t amplitude) {
        int32_t sum = 0;
        for (int i = 0; i < 3; ++i) {
            m_state = m_state * 1664525u + 1013904223u;
            sum +=
                static_cast<int32_t>((m_state >> 16) % static_cast<uint32_t>(2 * amplitude + 1)) -
                amplitude;
        }
        return sum / 3;
    }

private:
    uint32_t m_state;
};

double smoothStep(double t) {
    t = std::fmin(std::fmax(t, 0.0), 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// A flight profile: altitude in metres at a time in seconds.
using Profile = std::function<double(double)>;

std::vector<int32_t> sampleProfile(const Profile& profile, double seconds, double samplesPer10s,
                                   uint32_t seed, int32_t noiseCm) {
    Noise noise(seed);
    std::vector<int32_t> altitudes;
    const int count = static_cast<int>(seconds * samplesPer10s / 10.0);
    for (int i = 0; i < count; ++i) {
        const double t = i * 10.0 / samplesPer10s;
        const double metres = std::fmax(profile(t), 0.0);
        const bool onGround = metres <= 0.0;
        altitudes.push_back(static_cast<int32_t>(std::lround(metres * 100.0)) +
                            (onGround ? 0 : noise.centimetres(noiseCm)));
    }
    return altitudes;
}

// Climb from launch to a peak, then a steady glide down to the ground.
Profile climbAndGlide(double launch, double climbSeconds, double peakMetres, double sinkRate,
                      double climbShape) {
    return [=](double t) {
        if (t < launch) {
            return 0.0;
        }
        const double climbEnd = launch + climbSeconds;
        if (t < climbEnd) {
            return peakMetres * std::pow(smoothStep((t - launch) / climbSeconds), climbShape);
        }
        return peakMetres - sinkRate * (t - climbEnd);
    };
}

bool writeFlight(const std::string& folder, const std::string& name,
                 const FlightDescription& flight) {
    const std::vector<uint8_t> bytes = vtl::testing::synthesiseFlightImage(flight);
    const std::string path = folder + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

FlightDescription flightAt(uint8_t code, int temperature, uint16_t competitor, uint16_t serial,
                           int32_t groundPa) {
    FlightDescription flight;
    flight.samplingCode = code;
    flight.startTemperature = temperature;
    flight.competitorNumber = competitor;
    flight.serialNumber = serial;
    flight.groundPressurePa = groundPa;
    return flight;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: vantorel-make-samples OUTPUT_FOLDER\n", stderr);
        return 1;
    }
    const std::string folder = argv[1];
    bool ok = true;

    // A towed glider: a 45-second tow to 70 m, release, a three-minute glide.
    FlightDescription glider = flightAt(2, 18, 42, 1234, 100850);
    glider.altitudeCm = sampleProfile(climbAndGlide(5, 45, 70, 0.38, 1.0), 240, 100, 1, 6);
    ok &= writeFlight(folder, "towed_glider_10_per_s.bin", glider);

    // A rubber-powered model: a steep climb easing off near 100 m, a glide of three and a half
    // minutes.
    FlightDescription rubber = flightAt(3, 22, 7, 2051, 99870);
    rubber.altitudeCm = sampleProfile(climbAndGlide(4, 35, 101, 0.47, 0.6), 260, 50, 2, 8);
    ok &= writeFlight(folder, "rubber_model_5_per_s.bin", rubber);

    // A power model: ten seconds of near-vertical climb past 120 m, then a long glide; at 20
    // samples a second this is close to the largest flight a file holds.
    FlightDescription power = flightAt(0, 25, 113, 3007, 101420);
    power.altitudeCm = sampleProfile(climbAndGlide(3, 10, 126, 0.33, 1.2), 400, 200, 3, 5);
    ok &= writeFlight(folder, "power_model_20_per_s.bin", power);

    // A hand-launched glider with two single-sample spikes, one up and one down.
    FlightDescription spikes = flightAt(2, 12, 58, 1234, 101900);
    spikes.altitudeCm = sampleProfile(climbAndGlide(3, 4, 42, 0.32, 0.5), 140, 100, 4, 6);
    spikes.altitudeCm[600] += 1200;
    spikes.altitudeCm[950] -= 900;
    ok &= writeFlight(folder, "hand_launch_spikes_10_per_s.bin", spikes);

    // A rubber model that finds lift: one sample every two seconds over five minutes.
    FlightDescription thermal = flightAt(5, 27, 21, 4410, 100210);
    const Profile base = climbAndGlide(4, 30, 88, 0.45, 0.6);
    thermal.altitudeCm = sampleProfile(
        [&](double t) {
            const double lift = t > 60 ? 30.0 * smoothStep((t - 60) / 90) : 0.0;
            return base(t) + lift;
        },
        300, 5, 5, 10);
    ok &= writeFlight(folder, "thermal_rubber_2_s_per_sample.bin", thermal);

    return ok ? 0 : 1;
}
