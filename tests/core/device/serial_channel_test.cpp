// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_test_rig.h"

#include <gtest/gtest.h>

namespace vtl::testing {
namespace {

TEST(SerialChannel, OpensOnceAndReportsAFailedOpenWithTheBareName) {
    DeviceTestRig rig;
    rig.device.refuseOpening(true);
    rig.channel.openPort("COM5");
    EXPECT_TRUE(rig.channel.openFailed());
    EXPECT_EQ(rig.channel.closePort(), 0); // a port that failed to open is not open
    EXPECT_EQ(rig.device.closeCount(), 0);
    rig.language = Language::English;
    rig.channel.openPort("COM12");
    EXPECT_EQ(rig.messageTexts(), (std::vector<std::string>{"Błąd komunikacji z portem: COM5",
                                                            "Communication Error: COM12"}));
    EXPECT_EQ(rig.prompter.messages()[1].caption, "Vantoreal - error");

    rig.device.refuseOpening(false);
    rig.channel.openPort("COM5");
    rig.channel.openPort("COM5");
    EXPECT_TRUE(rig.channel.isOpen());
    EXPECT_EQ(rig.device.openedNames().size(), 3u); // the second open of an open port does nothing
    EXPECT_EQ(rig.channel.closePort(), 1);
    EXPECT_EQ(rig.channel.closePort(), 0);
}

TEST(SerialChannel, ReadsAtMost33000BytesAndClearsByteZero) {
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    EXPECT_EQ(rig.channel.readAvailable(), 0u);
    rig.device.deliver(std::vector<uint8_t>(40000, 0x5A), 0);
    EXPECT_EQ(rig.channel.readAvailable(), 33000u);
    EXPECT_EQ(rig.channel.rxBuffer()[0], 0x5A);
    EXPECT_EQ(rig.channel.readAvailable(), 7000u);
    EXPECT_EQ(rig.channel.rxBuffer()[0], 0); // every read clears byte 0
    EXPECT_EQ(rig.channel.rxCount(), 40000u);
}

TEST(SerialChannel, NeverWritesPastTheReceiveBuffer) {
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    rig.device.deliver(std::vector<uint8_t>(100000, 0x11), 0);
    uint32_t total = 0;
    for (int i = 0; i < 5; ++i) {
        total += rig.channel.readAvailable();
    }
    EXPECT_EQ(total, SerialChannel::kReceiveCapacity);
    EXPECT_EQ(rig.channel.rxCount(), SerialChannel::kReceiveCapacity);
    EXPECT_EQ(rig.device.bytesWaiting(), 0u); // the excess was read and dropped
}

TEST(SerialChannel, WaitForReplyWaitsWhileTheReplyGrows) {
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    rig.channel.waitForReply(250);
    EXPECT_EQ(rig.clock.slept(), 250); // at least one step, even with nothing coming

    rig.device.deliver({1, 2, 3, 4}, 100);
    rig.device.deliver({5, 6, 7, 8}, 400);
    rig.channel.waitForReply(250);
    // After one step four bytes have come, after two eight, after three still eight.
    EXPECT_EQ(rig.clock.slept(), 250 + 750);
    EXPECT_EQ(rig.channel.readAvailable(), 8u);

    // Bytes already waiting before the wait are no growth: one step and no more.
    rig.device.deliver({9, 9}, 0);
    rig.channel.waitForReply(250);
    EXPECT_EQ(rig.clock.slept(), 1000 + 250);
}

TEST(SerialChannel, WaitForReplyEndsAfterTwoSecondsOfTrickle) {
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    for (int64_t at = 100; at < 10000; at += 200) {
        rig.device.deliver({0x41}, at);
    }
    rig.channel.waitForReply(250);
    EXPECT_EQ(rig.clock.slept(), 2000);
    EXPECT_EQ(rig.channel.readAvailable(), 10u); // what came is there to be read
}

TEST(SerialChannel, DrainDropsWhatComesUntilTheLineIsQuiet) {
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    rig.device.deliver({1, 2, 3}, 0);
    rig.channel.readAvailable();
    rig.device.deliverPaced(std::vector<uint8_t>(5000, 0x11), 1000); // 500 ms of bytes
    rig.channel.drain(rig.clock.nowMilliseconds());
    EXPECT_EQ(rig.device.bytesWaiting(), 0u);
    EXPECT_GE(rig.clock.slept(), 450 + 300); // the last chunk, then 300 ms of quiet
    EXPECT_LE(rig.clock.slept(), 450 + 350);
    EXPECT_EQ(rig.channel.rxCount(), 3u); // the received reply is left as it was

    // A device that never stops is given two seconds.
    const int64_t before = rig.clock.slept();
    rig.device.deliverPaced(std::vector<uint8_t>(100000, 0x22), 100);
    rig.channel.drain(rig.clock.nowMilliseconds());
    EXPECT_EQ(rig.clock.slept() - before, 2000);

    // A line that has been quiet long enough is not waited on again.
    DeviceTestRig quiet;
    quiet.channel.openPort("COM5");
    quiet.clock.sleep(300);
    quiet.channel.drain(0);
    EXPECT_EQ(quiet.clock.slept(), 300);
}

TEST(SerialChannel, ClearingTheInputWaitsForAQuietLineWithinItsBound) {
    // A quiet line costs one quiet spell.
    DeviceTestRig quiet;
    quiet.channel.openPort("COM5");
    EXPECT_TRUE(quiet.channel.clearInput());
    EXPECT_EQ(quiet.clock.slept(), SerialChannel::kClearQuietMs);

    // What waits and what still comes is dropped, until the line has been quiet.
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    rig.device.deliver({1, 2, 3}, 0);
    rig.device.deliverPaced(std::vector<uint8_t>(5000, 0x11), 1000); // the last at 450 ms
    EXPECT_TRUE(rig.channel.clearInput());
    EXPECT_EQ(rig.device.bytesWaiting(), 0u);
    EXPECT_GE(rig.clock.slept(), 450 + SerialChannel::kClearQuietMs);
    EXPECT_LE(rig.clock.slept(), 450 + SerialChannel::kClearQuietMs + 50);
    EXPECT_EQ(rig.channel.readAvailable(), 0u);

    // A line that never falls silent is given its bound, then the command goes out.
    DeviceTestRig talking;
    talking.channel.openPort("COM5");
    talking.device.deliverPaced(std::vector<uint8_t>(300000, 0x22), 100); // five minutes
    int asked = 0;
    EXPECT_TRUE(talking.channel.clearInput([&asked] {
        ++asked;
        return false;
    }));
    EXPECT_EQ(talking.clock.slept(), SerialChannel::kClearLimitMs);
    EXPECT_GT(asked, 0);

    // The caller may end the wait on a talking line; a quiet line is never asked about.
    const int64_t before = talking.clock.slept();
    EXPECT_FALSE(talking.channel.clearInput([] { return true; }));
    EXPECT_LE(talking.clock.slept() - before, 50); // at the first bytes that come
    int quietAsked = 0;
    EXPECT_TRUE(quiet.channel.clearInput([&quietAsked] {
        ++quietAsked;
        return true;
    }));
    EXPECT_EQ(quietAsked, 0);
}

} // namespace
} // namespace vtl::testing
