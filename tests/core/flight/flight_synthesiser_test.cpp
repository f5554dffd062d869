// SPDX-License-Identifier: GPL-3.0-or-later
#include "flight_synthesiser.h"

#include "core/flight/altitude_conversion.h"
#include "core/flight/image_handover.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace vtl::testing {
namespace {

// The synthesiser feeds the samples and many tests, so its flights must decode to what was asked.
TEST(FlightSynthesiser, ConvertsBackToTheRequestedAltitudes) {
    FlightDescription flight;
    flight.samplingCode = 3;
    flight.startTemperature = 17;
    flight.competitorNumber = 77;
    flight.serialNumber = 4321;
    for (int i = 0; i < 400; ++i) {
        flight.altitudeCm.push_back(i < 10 ? 0 : (i < 200 ? i * 50 : 10000 - (i - 200) * 30));
    }
    const auto bytes = synthesiseFlightImage(flight);
    auto record = std::make_unique<FlightRecord>();
    ASSERT_EQ(acceptLoadedImage(*record, bytes.data(), bytes.size(), FlightRole::Current),
              HandoverResult::Accepted);
    EXPECT_EQ(record->competitorNumber, 77);
    EXPECT_EQ(record->serialNumber, 4321);
    EXPECT_EQ(record->samplingCode, 3);
    EXPECT_FLOAT_EQ(record->temperature, 17.0f);
    ASSERT_EQ(convertFlight(*record, FlightRole::Current), 401);
    for (size_t i = 0; i < flight.altitudeCm.size(); ++i) {
        // One raw count is about 3 Pa, some 25 cm near the ground.
        EXPECT_LE(std::abs(record->altitudeCm[i] - flight.altitudeCm[i]), 20) << "sample " << i;
    }
}

} // namespace
} // namespace vtl::testing
