// SPDX-License-Identifier: GPL-3.0-or-later
// How a flight transfer ends when the device does not end it with its marker: a silent line, a
// hang-up, fewer bytes than announced, or the user's cancel.
#include "device_test_rig.h"

#include <gtest/gtest.h>

namespace vtl::testing {
namespace {

using Frame = FakeDevice::Frame;

// The clear line before the first command, then status and download information: each waits a
// step for its reply and one more that sees no further bytes.
constexpr int64_t kExchanges = SerialChannel::kClearQuietMs + 2 * 2 * DeviceProtocol::kReplyStep;

std::vector<uint8_t> imageEndingInMarker(size_t size) {
    std::vector<uint8_t> image(size, 0x20);
    image[size - 2] = 0xFF;
    image[size - 1] = 0xFF;
    return image;
}

// A device that announces `announcedBlocks` and sends only `sent` bytes of the image.
void sendOnly(DeviceTestRig& rig, size_t sent, uint16_t announcedBlocks) {
    rig.device.setResponder([&rig, sent, announcedBlocks,
                             inner = rig.model.responder()](const Frame& f, FakeDevice& d) {
        if (f[1] == protocol::kDownloadInformation) {
            std::vector<uint8_t> reply(protocol::kShortReplySize, 0);
            protocol::putWord(reply.data(), protocol::kInformationReference, 10000);
            protocol::putWord(reply.data(), protocol::kInformationBlocks, announcedBlocks);
            d.deliver(reply);
        } else if (f[1] == protocol::kTransfer) {
            d.deliverPaced({rig.model.image.begin(), rig.model.image.begin() + sent}, 1047);
        } else {
            inner(f, d);
        }
    });
}

TEST(TransferEnd, ALineThatFallsSilentEndsTwoSecondsAfterItsLastByte) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(8000);
    sendOnly(rig, 4000, 250);
    RecordingDownloadView view;
    const auto result = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes.size(), 4000u);
    EXPECT_FALSE(result->complete);
    EXPECT_EQ(result->announcedBytes, 8000u);
    EXPECT_TRUE(rig.prompter.messages().empty()); // the window tells, once the flight is drawn
    // Four polls bring the bytes; then two seconds of silence, not the 102-second limit.
    EXPECT_EQ(rig.clock.slept(), kExchanges + 400 + DeviceProtocol::kTransferSilence);
    EXPECT_EQ(view.events.back(), "hide");
    EXPECT_EQ(view.imageCame, true);
    EXPECT_FALSE(rig.channel.isOpen());
    EXPECT_EQ(rig.priority.restored, 1);
}

TEST(TransferEnd, ALineThatNeverStartsEndsAfterFiveSeconds) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(8000);
    sendOnly(rig, 0, 250);
    RecordingDownloadView view;
    EXPECT_FALSE(rig.protocol.downloadFlight(view));
    EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"Błąd komunikacji"});
    EXPECT_EQ(rig.clock.slept(), kExchanges + DeviceProtocol::kTransferNoStart);
    EXPECT_EQ(view.imageCame, false);
}

TEST(TransferEnd, AHangUpEndsTheTransferAtOnce) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(8000);
    RecordingDownloadView view;
    rig.device.setResponder([&rig, inner = rig.model.responder()](const Frame& f, FakeDevice& d) {
        inner(f, d);
        if (f[1] == protocol::kTransfer) {
            d.hangUpAfter(360); // after about 3 KB
        }
    });
    const auto result = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->complete);
    EXPECT_GT(result->bytes.size(), 2000u);
    EXPECT_LT(result->bytes.size(), 8000u);
    EXPECT_LE(rig.clock.slept(), kExchanges + 400); // no waiting for silence after the hang-up
    EXPECT_FALSE(rig.channel.isOpen());
}

// A device that goes on sending past the poll limit is drained before the port closes, however
// the transfer ended without its marker.
TEST(TransferEnd, TheLineIsDrainedAfterThePollLimit) {
    DeviceTestRig rig;
    rig.model.image = std::vector<uint8_t>(60000, 0x20); // no marker
    rig.model.bytesPerPoll = 50;                         // 1,020 polls bring 51,000 bytes
    RecordingDownloadView view;
    view.clock = &rig.clock;
    const auto result = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes.size(), 51000u);
    EXPECT_FALSE(result->complete);
    EXPECT_EQ(view.endedAt, kExchanges + DeviceProtocol::kMaximumPolls * 100);
    // The device is still sending: the drain takes its whole two seconds.
    EXPECT_EQ(rig.clock.slept() - view.endedAt, SerialChannel::kDrainLimitMs);
}

TEST(TransferEnd, CompletenessWantsTheMarkerAndAllButLessThanABlock) {
    struct Case {
        size_t sent;
        uint16_t announcedBlocks;
        bool complete;
        size_t imageSize = 3000;
    };
    // A 3,000-byte image is 93.75 blocks: announcing 94 is whole, announcing 95 is a block short.
    // 2,976 bytes of an announced 3,008 are exactly one block short; 2,977 are less.
    const Case cases[] = {{3000, 94, true},  {3000, 95, false},       {3000, 0, true},
                          {2990, 94, false}, {2976, 94, false, 2976}, {2977, 94, true, 2977}};
    for (const Case& c : cases) {
        DeviceTestRig rig;
        rig.model.image = imageEndingInMarker(c.imageSize);
        sendOnly(rig, c.sent, c.announcedBlocks);
        RecordingDownloadView view;
        const auto result = rig.protocol.downloadFlight(view);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->complete, c.complete) << c.sent << " of " << c.announcedBlocks;
        EXPECT_EQ(result->announcedBytes, c.announcedBlocks * 32u);
    }
}

TEST(TransferEnd, ACancelStopsAtOnceAndHandsNothingOver) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(30000);
    RecordingDownloadView view;
    view.cancelFromCheck = 5;
    view.clock = &rig.clock;
    const auto result = rig.protocol.downloadFlight(view);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.outcome, DeviceProtocol::Outcome::Cancelled);
    EXPECT_TRUE(rig.prompter.messages().empty());
    // The check after the third poll; then the line is drained for at most two seconds while
    // the device goes on sending. The view hears of the end before the drain, not after it.
    EXPECT_EQ(rig.clock.slept(), kExchanges + 300 + SerialChannel::kDrainLimitMs);
    EXPECT_EQ(view.imageCame, false);
    EXPECT_EQ(view.endedAt, kExchanges + 300);
    EXPECT_EQ(view.events.back(), "hide");
    EXPECT_FALSE(rig.channel.isOpen());
    EXPECT_EQ(rig.priority.restored, 1);
}

} // namespace
} // namespace vtl::testing
