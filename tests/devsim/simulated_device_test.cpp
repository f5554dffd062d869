// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_assembler.h"
#include "line_writer.h"
#include "simulated_device.h"
#include "simulator_options.h"

#include "flight_synthesiser.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace vtl::devsim {
namespace {

using Bytes = std::vector<uint8_t>;
using Frame = FrameAssembler::Frame;
using namespace std::chrono_literals;

Frame frame(uint8_t letter, Bytes arguments = {}) {
    Frame bytes{'e', letter};
    for (size_t i = 0; i < arguments.size(); ++i) {
        bytes[2 + i] = arguments[i];
    }
    return bytes;
}

// Everything the emissions put on the line, in order.
Bytes joined(const std::vector<Emission>& emissions) {
    Bytes bytes;
    for (const Emission& emission : emissions) {
        bytes.insert(bytes.end(), emission.bytes.begin(), emission.bytes.end());
    }
    return bytes;
}

Bytes smallFlight(size_t samples = 100) {
    testing::FlightDescription flight;
    flight.competitorNumber = 0x0102;
    flight.serialNumber = 0x0304;
    flight.samplingCode = 3;
    flight.altitudeCm.assign(samples, 0);
    return testing::synthesiseFlightImage(flight);
}

DeviceSetup setup() {
    DeviceSetup setup;
    setup.competitorNumber = 0x0102;
    setup.serialNumber = 0x0304;
    setup.temperature = -10;
    setup.triggerQuarterMetres = 120;
    setup.samplingCode = 3;
    return setup;
}

bool endsWithMarker(const Bytes& bytes) {
    for (size_t pair = 1; pair <= 6 && 2 * pair <= bytes.size(); ++pair) {
        if (bytes[bytes.size() - 2 * pair] == 0xFF && bytes[bytes.size() - 2 * pair + 1] == 0xFF) {
            return true;
        }
    }
    return false;
}

TEST(SimulatedDevice, AnswersEachCommandAndKeepsWhatIsWritten) {
    SimulatedDevice device(smallFlight(), setup(), FaultMode::None);
    EXPECT_EQ(joined(device.answer(frame('4'))),
              (Bytes{0x02, 0x01, 0x04, 0x03, 0xF6, 0x78, 0x00, 0x83}));
    // 100 samples and a terminator: 32 + 404 bytes, 14 blocks when rounded up.
    EXPECT_EQ(joined(device.answer(frame('D'))), (Bytes{0, 0, 0x10, 0x27, 14, 0, 0, 0}));
    EXPECT_EQ(joined(device.answer(frame('2', {'2', '3'}))), (Bytes{0x00, 0xAA, 0xAA}));
    EXPECT_TRUE(device.answer(frame('2', {'2', '4'})).empty());
    EXPECT_TRUE(device.answer(frame('Z')).empty());

    EXPECT_EQ(joined(device.answer(frame('5', {0x10, 0x27, 0x00, 0x20, 0x03, 0x95}))),
              (Bytes{0x00, 0xA5}));
    EXPECT_EQ(joined(device.answer(frame('C', {0}))), (Bytes{0x00, 0xA5}));
    EXPECT_EQ(joined(device.answer(frame('7', {0x30, 0x75}))), (Bytes{0x00, 0xA5}));
    EXPECT_EQ(joined(device.answer(frame('4'))),
              (Bytes{0x10, 0x27, 0x04, 0x03, 0xF6, 0x20, 0x03, 0x85}));
    EXPECT_EQ(joined(device.answer(frame('B'))), (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(joined(device.answer(frame('6'))), (Bytes{0x30, 0x75, 0, 0, 0, 0, 0, 0}));
}

TEST(SimulatedDevice, TransferSendsTheImageAtLineRateAndClearsTheNewFlight) {
    const Bytes image = smallFlight();
    SimulatedDevice device(image, setup(), FaultMode::None);
    const std::vector<Emission> transfer = device.answer(frame('1'));
    ASSERT_EQ(transfer.size(), 1u);
    EXPECT_EQ(transfer[0].bytes, image);
    EXPECT_DOUBLE_EQ(transfer[0].bytesPerSecond, 10472.0);
    EXPECT_EQ(joined(device.answer(frame('4')))[7], 0x03);
}

TEST(SimulatedDevice, RepliesUnderFaultModes) {
    const auto replies = [](FaultMode fault) {
        SimulatedDevice device(smallFlight(), setup(), fault);
        return std::vector<std::vector<Emission>>{device.answer(frame('4')),
                                                  device.answer(frame('C', {1})),
                                                  device.answer(frame('2', {'2', '3'}))};
    };
    for (const auto& reply : replies(FaultMode::Silent)) {
        EXPECT_TRUE(reply.empty());
    }
    const auto shortened = replies(FaultMode::ShortReplies);
    EXPECT_EQ(joined(shortened[0]).size(), 7u);
    EXPECT_EQ(joined(shortened[1]), Bytes{0x00});
    EXPECT_EQ(joined(shortened[2]), (Bytes{0x00, 0xAA}));

    const auto wrong = replies(FaultMode::WrongAck);
    EXPECT_EQ(joined(wrong[1]), (Bytes{0x00, 0x5A}));
    EXPECT_EQ(joined(wrong[2]), (Bytes{0x00, 0x55, 0x55}));

    const auto stray = replies(FaultMode::Stray);
    EXPECT_EQ(joined(stray[1]), (Bytes{0x13, 0x37, 0x00, 0x42, 0x99, 0x00, 0xA5}));

    // Slow: two halves, the second after a pause that one 250 ms settle step still spans.
    const auto slow = replies(FaultMode::Slow);
    ASSERT_EQ(slow[0].size(), 2u);
    EXPECT_EQ(slow[0][0].bytes.size(), 4u);
    EXPECT_EQ(slow[0][1].pauseBefore, 180ms);
    EXPECT_EQ(joined(slow[2]), (Bytes{0x00, 0xAA, 0xAA}));

    // A failed zeroing: only the zero reply differs, and it keeps its length.
    const auto unzeroed = replies(FaultMode::ZeroFailure);
    EXPECT_EQ(joined(unzeroed[0]).size(), 8u);
    EXPECT_EQ(joined(unzeroed[1]), (Bytes{0x00, 0xA5}));
    EXPECT_EQ(joined(unzeroed[2]), (Bytes{0x00, 0x00, 0x00}));
}

TEST(SimulatedDevice, TransferUnderFaultModes) {
    // Two terminator slots at the end, as a device may leave them.
    Bytes image = smallFlight();
    image.insert(image.end(), {0xFF, 0xFF, 0xFF, 0xFF});

    const Bytes unmarked = SimulatedDevice(image, setup(), FaultMode::NoMarker).transferBytes();
    EXPECT_FALSE(endsWithMarker(unmarked));
    EXPECT_EQ(unmarked, Bytes(image.begin(), image.begin() + unmarked.size()));
    EXPECT_GE(unmarked.size(), image.size() - 12);

    SimulatedDevice oversending(image, setup(), FaultMode::Oversend);
    const std::vector<Emission> over = oversending.answer(frame('1'));
    ASSERT_EQ(over.size(), 1u);
    const Bytes& sent = over[0].bytes;
    ASSERT_EQ(sent.size(), 100000u);
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + image.size()), image);
    EXPECT_EQ(sent[image.size()], 0x00);
    EXPECT_EQ(sent[99998], 0xFF);
    EXPECT_EQ(sent[99999], 0xFF);
    // No chunk of the paced transfer may end right behind the image's own terminator.
    const size_t first = over[0].firstChunk;
    const size_t pastBoundary =
        (image.size() + kTransferChunk - first % kTransferChunk) % kTransferChunk;
    EXPECT_GE(pastBoundary, 12u);
    EXPECT_LE(pastBoundary, kTransferChunk - 12);

    SimulatedDevice hanging(image, setup(), FaultMode::HangUp);
    const std::vector<Emission> hangUp = hanging.answer(frame('1'));
    ASSERT_EQ(hangUp.size(), 1u);
    EXPECT_TRUE(hangUp[0].hangUpAfter);
    EXPECT_EQ(hangUp[0].bytes.size(), image.size() / 2);

    SimulatedDevice slow(image, setup(), FaultMode::Slow);
    EXPECT_DOUBLE_EQ(slow.answer(frame('1'))[0].bytesPerSecond, 10472.0 / 2);
}

TEST(SimulatedDevice, StalledTransfersStopPartWayAndKeepTheFlightNew) {
    // 436 bytes: half is 218, which is not a whole slot.
    const Bytes image = smallFlight();
    SimulatedDevice stalled(image, setup(), FaultMode::Stall);
    EXPECT_EQ(joined(stalled.answer(frame('1'))), Bytes(image.begin(), image.begin() + 216));
    EXPECT_EQ(joined(stalled.answer(frame('4')))[7] & 0x80, 0x80);

    // A short flight still gets its header and first slot; one with no slot to spare keeps its
    // terminator back.
    const Bytes twoSlots = smallFlight(2);
    EXPECT_EQ(SimulatedDevice(twoSlots, setup(), FaultMode::Stall).transferBytes(),
              Bytes(twoSlots.begin(), twoSlots.begin() + 36));
    const Bytes empty = smallFlight(0);
    ASSERT_EQ(empty.size(), 36u);
    EXPECT_EQ(SimulatedDevice(empty, setup(), FaultMode::Stall).transferBytes().size(), 16u);

    SimulatedDevice tiny(image, setup(), FaultMode::Tiny);
    EXPECT_EQ(joined(tiny.answer(frame('1'))), Bytes(image.begin(), image.begin() + 20));
    EXPECT_EQ(joined(tiny.answer(frame('4')))[7] & 0x80, 0x80);
}

TEST(SimulatedDevice, DownloadInformationUnderFaultModes) {
    const Bytes image = smallFlight();

    SimulatedDevice uninformed(image, setup(), FaultMode::NoInfo);
    EXPECT_TRUE(uninformed.answer(frame('D')).empty());
    EXPECT_EQ(joined(uninformed.answer(frame('4'))).size(), 8u);
    EXPECT_EQ(joined(uninformed.answer(frame('1'))), image);

    // 14 blocks of image, 30 announced; the image still goes out whole.
    SimulatedDevice undersending(image, setup(), FaultMode::Undersend);
    EXPECT_EQ(joined(undersending.answer(frame('D'))), (Bytes{0, 0, 0x10, 0x27, 30, 0, 0, 0}));
    EXPECT_EQ(joined(undersending.answer(frame('1'))), image);
}

TEST(FrameAssembler, FindsFramesInBrokenAndNoisyInput) {
    FrameAssembler assembler;
    const auto t0 = std::chrono::steady_clock::time_point{};
    const Bytes noisy{0x00, 0x13, 'e', '4', 0, 0, 0, 0, 0, 0, 'e', 'D', 1};
    const auto frames = assembler.feed(noisy.data(), noisy.size(), t0);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][1], '4');
    EXPECT_EQ(assembler.skippedBytes(), 2u);

    const Bytes rest{2, 3, 4, 5, 6};
    const auto completed = assembler.feed(rest.data(), rest.size(), t0 + 10ms);
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_EQ(completed[0], (Frame{'e', 'D', 1, 2, 3, 4, 5, 6}));

    // A half frame that nothing completes in time is dropped.
    assembler.feed(noisy.data() + 2, 4, t0 + 20ms);
    const Bytes next{'e', 'B', 0, 0, 0, 0, 0, 0};
    const auto fresh = assembler.feed(next.data(), next.size(), t0 + 500ms);
    ASSERT_EQ(fresh.size(), 1u);
    EXPECT_EQ(fresh[0][1], 'B');
}

class LineWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::pipe2(m_pipe, O_NONBLOCK), 0); }
    void TearDown() override {
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }
    size_t drain() {
        uint8_t buffer[4096];
        const ssize_t count = ::read(m_pipe[0], buffer, sizeof buffer);
        return count > 0 ? static_cast<size_t>(count) : 0;
    }
    static Emission paced(size_t size, double rate) {
        Emission emission;
        emission.bytes.assign(size, 0x55);
        emission.bytesPerSecond = rate;
        return emission;
    }

    int m_pipe[2] = {-1, -1};
    LineWriter m_writer;
    const std::chrono::steady_clock::time_point m_t0{std::chrono::seconds(1)};
};

TEST_F(LineWriterTest, PacesChunksOnAFixedScheduleAndNeverBursts) {
    // 128-byte chunks at 10,000 bytes a second: one every 12.8 ms.
    m_writer.enqueue({paced(1000, 10000)}, m_t0);
    m_writer.service(m_pipe[1], m_t0);
    EXPECT_EQ(drain(), 0u);
    EXPECT_EQ(m_writer.nextDue(), m_t0 + 12800us);
    m_writer.service(m_pipe[1], m_t0 + 50ms);
    EXPECT_EQ(drain(), 384u);
    m_writer.service(m_pipe[1], m_t0 + 100ms);
    EXPECT_EQ(drain(), 616u);
    EXPECT_TRUE(m_writer.idle());

    // Held up for a second: the rest follows at the line rate, not at once.
    m_writer.enqueue({paced(1000, 10000)}, m_t0 + 1s);
    m_writer.service(m_pipe[1], m_t0 + 2s);
    m_writer.service(m_pipe[1], m_t0 + 2s + 30ms);
    EXPECT_EQ(drain(), 256u);
}

TEST_F(LineWriterTest, PausesBetweenEmissionsAndReportsTheHangUp) {
    Emission first;
    first.bytes = {1, 2};
    Emission second;
    second.bytes = {3};
    second.pauseBefore = 180ms;
    second.hangUpAfter = true;
    m_writer.enqueue({first, second}, m_t0);
    EXPECT_EQ(m_writer.service(m_pipe[1], m_t0), LineWriter::Result::Working);
    EXPECT_EQ(drain(), 2u);
    EXPECT_EQ(m_writer.service(m_pipe[1], m_t0 + 179ms), LineWriter::Result::Working);
    EXPECT_EQ(drain(), 0u);
    EXPECT_EQ(m_writer.nextDue(), m_t0 + 180ms);
    EXPECT_EQ(m_writer.service(m_pipe[1], m_t0 + 181ms), LineWriter::Result::HangUp);
    EXPECT_EQ(drain(), 1u);
}

TEST(SimulatorOptions, ParsesValuesAndRefusesBadOnes) {
    SimulatorOptions options;
    std::string error;
    const char* good[] = {"--port",  "COM12",     "--trigger=45",    "--temperature", "-5",
                          "--fault", "wrong-ack", "--no-new-flight", "--competitor",  "77"};
    ASSERT_TRUE(parseSimulatorOptions(10, good, options, error)) << error;
    EXPECT_EQ(options.portName, "COM12");
    EXPECT_EQ(options.fault, FaultMode::WrongAck);

    const Bytes image = smallFlight(4);
    const DeviceSetup setup = initialSetup(options, image);
    EXPECT_EQ(setup.competitorNumber, 77);
    EXPECT_EQ(setup.serialNumber, 0x0304); // from the header
    EXPECT_EQ(setup.samplingCode, 3);
    EXPECT_EQ(setup.triggerQuarterMetres, 180);
    EXPECT_EQ(setup.temperature, -5);
    EXPECT_FALSE(setup.newFlight);
    EXPECT_EQ(setup.delayHundredths, 18000);

    for (const auto& [name, mode] :
         {std::pair{"stall", FaultMode::Stall}, std::pair{"tiny", FaultMode::Tiny},
          std::pair{"no-info", FaultMode::NoInfo}, std::pair{"undersend", FaultMode::Undersend},
          std::pair{"zero-failure", FaultMode::ZeroFailure}}) {
        SimulatorOptions faulty;
        const char* arguments[] = {"--fault", name};
        ASSERT_TRUE(parseSimulatorOptions(2, arguments, faulty, error)) << name;
        EXPECT_EQ(faulty.fault, mode) << name;
    }

    for (const char* bad : {"--port=COM26", "--port=COM05", "--port=ttyS0", "--trigger=-1",
                            "--delay=656", "--sampling=16", "--manual-zero=2", "--fault=noisy",
                            "--temperature=128", "--frobnicate=1", "--delay"}) {
        SimulatorOptions refused;
        const char* arguments[] = {bad};
        EXPECT_FALSE(parseSimulatorOptions(1, arguments, refused, error)) << bad;
    }
}

} // namespace
} // namespace vtl::devsim
