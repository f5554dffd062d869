// SPDX-License-Identifier: GPL-3.0-or-later
// Every operation first clears the line: what a full buffer or an abandoned transfer left there
// is read away until the line has gone quiet, and a line that never does delays the command only
// up to a bound.
#include "device_test_rig.h"

#include <gtest/gtest.h>

#include <functional>

namespace vtl::testing {
namespace {

std::vector<uint8_t> imageEndingInMarker(size_t size) {
    std::vector<uint8_t> image(size, 0x20);
    image[size - 2] = 0xFF;
    image[size - 1] = 0xFF;
    return image;
}

TEST(DownloadFlight, WhatComesAfterAFullBufferIsDroppedBeforeTheNextCommand) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(100000);
    rig.model.bytesPerPoll =
        15000; // the buffer is full after six polls, 10,000 bytes still to come
    RecordingDownloadView view;
    const auto image = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes.size(), SerialChannel::kReceiveCapacity);
    EXPECT_EQ(image->bytes[89999], 0x20);
    EXPECT_FALSE(rig.channel.isOpen());
    // The rest comes 50 ms after the sixth poll, then the line is quiet for 300 ms.
    EXPECT_EQ(rig.clock.slept(), SerialChannel::kClearQuietMs + 2 * 2 * DeviceProtocol::kReplyStep +
                                     600 + 50 + SerialChannel::kDrainQuietMs);

    EXPECT_EQ(rig.protocol.zeroDevice(false), DeviceProtocol::Outcome::Done);
    EXPECT_EQ(rig.prompter.messages().back().text, "Vantorel wyzerowany");
}

// What an abandoned transfer (a program killed in the middle of it) leaves on the line: the rest
// of a large image, still coming for almost six seconds when the next operation starts, longer
// than the reply waits of a whole setup write.
void leaveTransferRunning(DeviceTestRig& rig) {
    rig.device.deliver(std::vector<uint8_t>(4000, 0x77), 0);
    rig.device.deliverPaced(std::vector<uint8_t>(60000, 0x77), 1047);
}

TEST(DeviceLine, EveryOperationStartsBehindWhatAnAbandonedTransferLeft) {
    const std::pair<const char*, std::function<bool(DeviceTestRig&)>> operations[] = {
        {"download",
         [](DeviceTestRig& rig) {
             RecordingDownloadView view;
             const auto result = rig.protocol.downloadFlight(view);
             return result && result->complete && result->bytes.size() == 3000 &&
                    result->bytes[1] == 0x20;
         }},
        {"zero",
         [](DeviceTestRig& rig) {
             return rig.protocol.zeroDevice(false) == DeviceProtocol::Outcome::Done;
         }},
        {"setup read",
         [](DeviceTestRig& rig) {
             RecordingSetupView view;
             return rig.protocol.readDeviceSetup(view) == 1 && view.shown[1].second == 42;
         }},
        {"setup write",
         [](DeviceTestRig& rig) {
             return rig.protocol.writeDeviceSetup({"20", "7", "30", 2, 0}) ==
                    DeviceProtocol::Outcome::Done;
         }},
        {"default setup",
         [](DeviceTestRig& rig) {
             return rig.protocol.writeDefaultSetup([](bool) {}, false) ==
                        DeviceProtocol::Outcome::Done &&
                    rig.prompter.messages().empty();
         }},
    };
    for (const auto& [name, run] : operations) {
        DeviceTestRig rig;
        rig.model.image = imageEndingInMarker(3000);
        rig.channel.openPort("COM5"); // the setup dialog's operations find the port open
        leaveTransferRunning(rig);
        EXPECT_TRUE(run(rig)) << name << ": " << ::testing::PrintToString(rig.messageTexts());
    }
}

TEST(DeviceLine, ALineThatNeverFallsSilentDelaysTheCommandOnlySoLong) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(3000);
    rig.device.deliverPaced(std::vector<uint8_t>(300000, 0x77), 100); // five minutes
    RecordingDownloadView view;
    EXPECT_FALSE(rig.protocol.downloadFlight(view));
    // After the bound the status goes out; its reply drowns in the noise.
    ASSERT_FALSE(rig.device.frames().empty());
    EXPECT_EQ(rig.device.frames()[0][1], protocol::kStatus);
    EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"Błąd komunikacji"});
    EXPECT_LE(rig.clock.slept(), SerialChannel::kClearLimitMs + SerialChannel::kReplyWaitLimitMs);
    EXPECT_FALSE(rig.channel.isOpen());

    // The user may cancel the wait: nothing is sent and nothing reported.
    DeviceTestRig cancelled;
    cancelled.device.deliverPaced(std::vector<uint8_t>(300000, 0x77), 100);
    RecordingDownloadView cancelView;
    cancelView.cancelFromCheck = 3;
    const auto result = cancelled.protocol.downloadFlight(cancelView);
    EXPECT_EQ(result.outcome, DeviceProtocol::Outcome::Cancelled);
    EXPECT_TRUE(cancelled.device.frames().empty());
    EXPECT_TRUE(cancelled.prompter.messages().empty());
    EXPECT_EQ(cancelView.events, (std::vector<std::string>{"reading", "hide"}));
    EXPECT_EQ(cancelView.imageCame, false);
    EXPECT_LT(cancelled.clock.slept(), 500);
    EXPECT_FALSE(cancelled.channel.isOpen());
    EXPECT_EQ(cancelled.priority.restored, 1);
}

} // namespace
} // namespace vtl::testing
