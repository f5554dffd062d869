// SPDX-License-Identifier: GPL-3.0-or-later
#include "default_flight.h"

#include "flight_synthesiser.h"

#include <cmath>

namespace vtl::devsim {

std::vector<uint8_t> defaultFlightImage() {
    constexpr double kSamplesPerSecond = 10;
    constexpr double kLaunch = 5;  // seconds on the ground
    constexpr double kTow = 45;    // seconds of climb
    constexpr double kPeak = 70;   // metres
    constexpr double kGlide = 180; // seconds back to the ground
    constexpr double kLanded = 5;  // seconds on the ground after landing
    constexpr int32_t kWobble = 4; // centimetres of air movement in flight

    testing::FlightDescription flight;
    flight.samplingCode = 2;
    flight.startTemperature = 19;
    flight.competitorNumber = 17;
    flight.serialNumber = 2024;
    flight.groundPressurePa = 100930;

    const double duration = kLaunch + kTow + kGlide + kLanded;
    const int samples = static_cast<int>(duration * kSamplesPerSecond);
    uint32_t noise = 12345;
    for (int i = 0; i < samples; ++i) {
        const double t = i / kSamplesPerSecond;
        double metres = 0;
        if (t >= kLaunch && t < kLaunch + kTow) {
            const double x = (t - kLaunch) / kTow;
            metres = kPeak * x * x * (3 - 2 * x);
        } else if (t >= kLaunch + kTow) {
            metres = std::fmax(kPeak - kPeak / kGlide * (t - kLaunch - kTow), 0.0);
        }
        int32_t centimetres = static_cast<int32_t>(std::lround(metres * 100));
        if (centimetres > 0) {
            noise = noise * 1664525u + 1013904223u;
            centimetres += static_cast<int32_t>((noise >> 16) % (2 * kWobble + 1)) - kWobble;
        }
        flight.altitudeCm.push_back(centimetres);
    }
    return testing::synthesiseFlightImage(flight);
}

} // namespace vtl::devsim
