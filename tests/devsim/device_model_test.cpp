// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulated_device.h"

#include "flight_synthesiser.h"
#include "support/fake_device.h"

#include <gtest/gtest.h>

namespace vtl::devsim {
namespace {

using Bytes = std::vector<uint8_t>;
using Frame = std::array<uint8_t, protocol::kFrameSize>;

Frame frame(uint8_t letter, Bytes arguments = {}) {
    Frame bytes{'e', letter};
    std::copy(arguments.begin(), arguments.end(), bytes.begin() + 2);
    return bytes;
}

// A session as the program drives it: a download, the settings read and written back, a zeroing,
// and the frames the device ignores, each followed by a status to show what it changed.
const std::vector<Frame> kSession = {
    frame('4'),
    frame('D'),
    frame('1'),
    frame('4'),
    frame('B'),
    frame('6'),
    frame('5', {0x39, 0x30, 0x40, 0x01, 0x05, 0x95}),
    frame('C', {1}),
    frame('7', {0x10, 0x0E}),
    frame('4'),
    frame('B'),
    frame('6'),
    frame('2', {'2', '3'}),
    frame('2', {'2', '4'}),
    frame('Z'),
    frame('1'),
    frame('D'),
};

TEST(DeviceModel, FakeDeviceAndSimulatorAnswerASessionAlike) {
    testing::FlightDescription flight;
    flight.samplingCode = 3;
    flight.altitudeCm.assign(150, 1200);
    const Bytes image = testing::synthesiseFlightImage(flight);
    DeviceSetup setup;
    setup.competitorNumber = 0x0102;
    setup.serialNumber = 0x0304;
    setup.temperature = -7;
    setup.samplingCode = 3;
    setup.manualZeroing = 0;

    SimulatedDevice simulator(image, setup, FaultMode::None);
    testing::FakeClock clock;
    testing::FakeDevice port(clock);
    testing::DeviceModel model;
    static_cast<DeviceSetup&>(model) = setup;
    model.image = image;
    port.setResponder(model.responder());
    ASSERT_TRUE(port.open("COM5"));

    size_t answered = 0;
    for (const Frame& sent : kSession) {
        Bytes simulated;
        for (const Emission& emission : simulator.answer(sent)) {
            simulated.insert(simulated.end(), emission.bytes.begin(), emission.bytes.end());
        }
        ASSERT_TRUE(port.write(sent.data(), sent.size()));
        clock.sleep(60000);
        Bytes faked(port.bytesWaiting());
        faked.resize(port.read(faked.data(), faked.size()));
        EXPECT_EQ(faked, simulated) << "command '" << sent[1] << "'";
        answered += simulated.empty() ? 0 : 1;
        EXPECT_EQ(model.newFlight, simulator.setup().newFlight);
    }
    EXPECT_EQ(answered, kSession.size() - 2);
    EXPECT_EQ(model.competitorNumber, 12345);
    EXPECT_EQ(simulator.setup().delayHundredths, 3600);
}

} // namespace
} // namespace vtl::devsim
