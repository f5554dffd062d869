// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_test_rig.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace vtl::testing {
namespace {

using Frame = FakeDevice::Frame;

std::vector<uint8_t> imageEndingInMarker(size_t size) {
    std::vector<uint8_t> image(size, 0x20);
    image[size - 2] = 0xFF;
    image[size - 1] = 0xFF;
    return image;
}

// The well-behaved device whose replies (not the transfer) go out through `send`, as a faulty
// line or a slow device sends them; the transfer comes `bytesPerPoll` bytes a poll.
void sendRepliesThrough(DeviceTestRig& rig,
                        std::function<void(std::vector<uint8_t> reply, FakeDevice& device)> send,
                        size_t bytesPerPoll) {
    rig.device.setResponder(
        [&rig, send = std::move(send), bytesPerPoll](const Frame& f, FakeDevice& d) {
            std::optional<devsim::Reply> reply =
                devsim::answerFrame(f.data(), f.size(), rig.model, rig.model.image);
            if (!reply) {
                return;
            }
            if (reply->transfer) {
                d.deliverPaced(reply->bytes, bytesPerPoll);
            } else {
                send(std::move(reply->bytes), d);
            }
        });
}

TEST(ZeroDevice, ReplyDecidesTheMessage) {
    struct Case {
        std::vector<uint8_t> reply;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {{0x00, 0xAA, 0xAA}, {"Zerowanie. Czy napewno?", "Vantorel wyzerowany"}},
        {{0xAA, 0xAA}, {"Zerowanie. Czy napewno?"}}, // fewer than three bytes: silence
        {{0x00, 0xAA, 0x55, 0x00}, {"Zerowanie. Czy napewno?", "Błąd Zerowania"}},
    };
    for (const Case& c : cases) {
        DeviceTestRig rig;
        rig.device.setResponder([&c](const Frame&, FakeDevice& d) { d.deliver(c.reply); });
        rig.protocol.zeroDevice();
        EXPECT_EQ(rig.messageTexts(), c.messages);
        ASSERT_EQ(rig.device.frames().size(), 1u);
        EXPECT_EQ(rig.device.frames()[0], (Frame{'e', '2', '2', '3', 0, 0, 0, 0}));
        EXPECT_FALSE(rig.channel.isOpen());
    }

    DeviceTestRig declined;
    declined.prompter.answerNextMessages({false});
    EXPECT_EQ(declined.protocol.zeroDevice(), DeviceProtocol::Outcome::Cancelled);
    EXPECT_TRUE(declined.device.frames().empty());
    EXPECT_TRUE(declined.device.openedNames().empty());
}

TEST(DownloadFlight, HandsOverTheImageWithTheAnnouncedReference) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(3000);
    rig.model.referenceWord = 9700;
    RecordingDownloadView view;
    const auto image = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes.size(), 3000u);
    EXPECT_EQ(image->referenceWord, 9700);
    EXPECT_EQ(image->bytes[0], 0); // cleared by the reads after the first
    EXPECT_EQ(image->bytes[1], 0x20);
    EXPECT_TRUE(rig.prompter.messages().empty());
    EXPECT_EQ(rig.priority.raised, 1);
    EXPECT_EQ(rig.priority.restored, 1);
    EXPECT_FALSE(rig.channel.isOpen());
    EXPECT_EQ(view.events.front(), "reading");
    EXPECT_EQ(view.events[1], "reset");
    EXPECT_EQ(view.events[2], "blank");
    EXPECT_EQ(view.events[3], "   0 %");
    EXPECT_EQ(view.events[view.events.size() - 2], "   99 %"); // 94 blocks announced: 3008 bytes
    EXPECT_EQ(view.events.back(), "hide");
    // Status, download information, transfer; the transfer's argument bytes are carried over.
    ASSERT_EQ(rig.device.frames().size(), 3u);
    EXPECT_EQ(rig.device.frames()[0][1], '4');
    EXPECT_EQ(rig.device.frames()[1][1], 'D');
    EXPECT_EQ(rig.device.frames()[2][1], '1');
    // Three polls of about 1 KB each, not the 102-second limit.
    EXPECT_LT(rig.clock.slept(), 2000);
}

TEST(DownloadFlight, ReferenceWordRange) {
    const std::pair<uint16_t, uint16_t> cases[] = {
        {9700, 9700}, {10500, 10500}, {9699, 10000}, {10501, 10000}};
    for (const auto& [announced, expected] : cases) {
        DeviceTestRig rig;
        rig.model.image = imageEndingInMarker(64);
        rig.model.referenceWord = announced;
        RecordingDownloadView view;
        EXPECT_EQ(rig.protocol.downloadFlight(view)->referenceWord, expected) << announced;
    }
}

TEST(DownloadFlight, OldFlightIsWarnedAboutAndStillDownloaded) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(64);
    rig.model.newFlight = false;
    RecordingDownloadView view;
    EXPECT_TRUE(rig.protocol.downloadFlight(view));
    EXPECT_EQ(rig.messageTexts(),
              std::vector<std::string>{"Brak nowego pomiaru - odczyt poprzedniego pomiaru"});
}

TEST(DownloadFlight, EndMarkerMustLieAtAnEvenDistanceFromTheEnd) {
    DeviceTestRig even;
    even.model.image = imageEndingInMarker(400);
    even.model.image.push_back(0x01);
    even.model.image.push_back(0x02); // the marker is now the second pair from the end
    RecordingDownloadView view;
    ASSERT_TRUE(even.protocol.downloadFlight(view));
    EXPECT_LT(even.clock.slept(), 2000);

    DeviceTestRig odd;
    odd.model.image = imageEndingInMarker(400);
    odd.model.image.push_back(0x01); // 0xFF at count-3 and count-2 only
    const auto image = odd.protocol.downloadFlight(view);
    ASSERT_TRUE(image); // handed over all the same once the line has gone quiet
    EXPECT_EQ(image->bytes.size(), 401u);
    EXPECT_FALSE(image->complete);
    // The clear line, the exchanges, one poll that brings everything, then two seconds of
    // silence.
    EXPECT_EQ(odd.clock.slept(), SerialChannel::kClearQuietMs + 4 * DeviceProtocol::kReplyStep +
                                     100 + DeviceProtocol::kTransferSilence);
}

TEST(DownloadFlight, EndMarkerIsLookedForInTheLastSixPairsOnly) {
    for (const size_t pairsAfter : {size_t{5}, size_t{6}}) {
        DeviceTestRig rig;
        rig.model.image = imageEndingInMarker(400);
        rig.model.image.insert(rig.model.image.end(), 2 * pairsAfter, 0x01);
        RecordingDownloadView view;
        const auto image = rig.protocol.downloadFlight(view);
        ASSERT_TRUE(image);
        // Five pairs after it, the marker is the sixth pair from the end and ends the transfer.
        const bool found = pairsAfter == 5;
        EXPECT_EQ(image->complete, found) << pairsAfter;
        EXPECT_EQ(rig.clock.slept() < 2000, found) << pairsAfter;
    }
}

TEST(DownloadFlight, ThirtyTwoBytesAreAWholeImage) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(32);
    RecordingDownloadView view;
    const auto image = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes.size(), 32u);
    EXPECT_TRUE(image->complete);
    EXPECT_TRUE(rig.prompter.messages().empty());
    EXPECT_LT(rig.clock.slept(), 2000); // the marker was seen in the 32 bytes
}

TEST(DownloadFlight, OnlyTheBlockCountOutlivesADownload) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(3000);
    rig.model.referenceWord = 9700;
    RecordingDownloadView first;
    ASSERT_EQ(rig.protocol.downloadFlight(first)->referenceWord, 9700);

    // The next download gets no download information: the reference word falls back to 10,000,
    // the block count is the one announced before.
    rig.device.setResponder([inner = rig.model.responder()](const Frame& f, FakeDevice& d) {
        if (f[1] != 'D') {
            inner(f, d);
        }
    });
    RecordingDownloadView second;
    const auto image = rig.protocol.downloadFlight(second);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->referenceWord, 10000);
    EXPECT_EQ(image->announcedBytes, 94u * 32u);
    EXPECT_TRUE(image->complete);
    EXPECT_EQ(second.events[second.events.size() - 2], "   99 %");
}

TEST(DownloadFlight, FailuresAreReportedAndUndoEverything) {
    DeviceTestRig stalled;
    stalled.model.image = std::vector<uint8_t>(20, 0x33); // stops after 20 bytes
    RecordingDownloadView view;
    view.prompter = &stalled.prompter;
    EXPECT_FALSE(stalled.protocol.downloadFlight(view));
    EXPECT_EQ(view.messagesWhenHidden, 0u); // the indicators go before the message comes
    EXPECT_EQ(stalled.messageTexts(), std::vector<std::string>{"Błąd komunikacji"});
    // The clear line, two seconds of silence after the last byte and the two reply waits, no
    // more.
    EXPECT_LE(stalled.clock.slept(),
              SerialChannel::kClearQuietMs + DeviceProtocol::kTransferSilence + 200 + 2 * 500);
    EXPECT_EQ(stalled.priority.restored, 1);
    EXPECT_EQ(view.events.back(), "hide");
    EXPECT_FALSE(stalled.channel.isOpen());

    DeviceTestRig silent;
    silent.device.setResponder(nullptr);
    RecordingDownloadView silentView;
    silentView.prompter = &silent.prompter;
    EXPECT_FALSE(silent.protocol.downloadFlight(silentView));
    EXPECT_EQ(silentView.messagesWhenHidden, 0u);
    EXPECT_FALSE(silent.channel.isOpen());
    EXPECT_EQ(silent.messageTexts(), std::vector<std::string>{"Błąd komunikacji"});
    EXPECT_EQ(silentView.events, (std::vector<std::string>{"reading", "hide"}));
    EXPECT_EQ(silent.priority.restored, 1);
    EXPECT_EQ(silent.device.frames().size(), 1u); // nothing after the failed status

    DeviceTestRig noPort;
    noPort.device.refuseOpening(true);
    RecordingDownloadView noPortView;
    EXPECT_FALSE(noPort.protocol.downloadFlight(noPortView));
    EXPECT_TRUE(noPortView.events.empty());
    EXPECT_EQ(noPort.priority.raised, 1);
    EXPECT_EQ(noPort.priority.restored, 1);
}

TEST(DownloadFlight, MoreThanTheBufferHoldsIsCutAndHandedOver) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(100000);
    rig.model.bytesPerPoll = 20000;
    RecordingDownloadView view;
    const auto image = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes.size(), SerialChannel::kReceiveCapacity);
    // No waiting for a marker that can no longer arrive.
    EXPECT_LT(rig.clock.slept(), SerialChannel::kClearQuietMs + 2000);
}

TEST(DownloadFlight, WithoutDownloadInformationTheMarkerDecides) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(64);
    rig.device.setResponder([&rig, inner = rig.model.responder()](const Frame& f, FakeDevice& d) {
        if (f[1] != 'D') {
            inner(f, d); // the download information goes unanswered
        }
    });
    RecordingDownloadView view;
    const auto image = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(image);
    // The end marker alone makes the image whole, and ends the transfer.
    EXPECT_TRUE(image->complete);
    EXPECT_EQ(image->bytes.size(), 64u);
    EXPECT_EQ(image->announcedBytes, 0u);
    EXPECT_LT(rig.clock.slept(), 2000);
    EXPECT_TRUE(rig.prompter.messages().empty());
    EXPECT_EQ(image->referenceWord, 10000);
    EXPECT_EQ(view.events[3], "   0 B");
    EXPECT_EQ(view.events[view.events.size() - 2], "   64 B");
}

// A status reply one byte short, or with bytes in front of it, is no status: nothing further is
// asked and the transfer never starts.
TEST(DownloadFlight, RepliesOfTheWrongLengthAreACommunicationError) {
    const std::vector<uint8_t> stray = {0x13, 0x37, 0x00, 0x42, 0x99};
    const std::function<void(std::vector<uint8_t>, FakeDevice&)> faults[] = {
        [](std::vector<uint8_t> reply, FakeDevice& d) {
            reply.pop_back();
            d.deliver(reply);
        },
        [&stray](std::vector<uint8_t> reply, FakeDevice& d) {
            reply.insert(reply.begin(), stray.begin(), stray.end());
            d.deliver(reply);
        }};
    for (const auto& fault : faults) {
        DeviceTestRig rig;
        rig.model.image = imageEndingInMarker(3000);
        sendRepliesThrough(rig, fault, rig.model.bytesPerPoll);
        RecordingDownloadView view;
        view.prompter = &rig.prompter;
        EXPECT_FALSE(rig.protocol.downloadFlight(view));
        EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"Błąd komunikacji"});
        EXPECT_EQ(view.messagesWhenHidden, 0u);
        EXPECT_EQ(rig.device.frames().size(), 1u);
        EXPECT_FALSE(rig.channel.isOpen());
        EXPECT_EQ(rig.priority.restored, 1);
    }
}

// A slow device: each reply comes in two halves 180 ms apart, the second after the first wait
// step, and the transfer at half the line rate. The whole image is still read.
TEST(DownloadFlight, SlowRepliesAreStillCaught) {
    DeviceTestRig rig;
    rig.model.image = imageEndingInMarker(3000);
    rig.model.referenceWord = 9800;
    sendRepliesThrough(
        rig,
        [](std::vector<uint8_t> reply, FakeDevice& d) {
            const auto half = reply.begin() + static_cast<std::ptrdiff_t>(reply.size() / 2);
            d.deliver({reply.begin(), half}, 100);
            d.deliver({half, reply.end()}, 280);
        },
        rig.model.bytesPerPoll / 2);
    RecordingDownloadView view;
    const auto image = rig.protocol.downloadFlight(view);
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->complete);
    EXPECT_EQ(image->bytes.size(), 3000u);
    EXPECT_EQ(image->referenceWord, 9800);
    EXPECT_EQ(image->announcedBytes, 94u * 32u);
    EXPECT_TRUE(rig.prompter.messages().empty());
}

TEST(ReadDeviceSetup, ConvertsTheReplies) {
    DeviceTestRig rig;
    rig.model.temperature = 10;
    rig.model.triggerQuarterMetres = 0x78;
    rig.model.delayHundredths = 18000;
    rig.channel.openPort("COM5");
    RecordingSetupView view;
    EXPECT_EQ(rig.protocol.readDeviceSetup(view), 1);
    const std::vector<std::pair<std::string, int>> expected = {
        {"temperature", 8}, {"competitor", 42}, {"serial", 1234}, {"trigger", 30},
        {"sampling", 2},    {"manual", 1},      {"delay", 180}};
    EXPECT_EQ(view.shown, expected);

    rig.model.temperature = -10;
    rig.model.delayHundredths = 99;
    RecordingSetupView second;
    rig.protocol.readDeviceSetup(second);
    EXPECT_EQ(second.shown.front(), std::make_pair(std::string("temperature"), -10));
    EXPECT_EQ(second.shown.back(), std::make_pair(std::string("delay"), 0));
}

TEST(ReadDeviceSetup, ExaminesOnlyTheDocumentedBits) {
    DeviceTestRig rig;
    rig.model.temperature = 50;           // 50 x 0.82 = 41
    rig.model.triggerQuarterMetres = 123; // 30.75 m, truncated
    rig.model.samplingCode = 9;           // all four low bits count, beside the new-flight bit
    rig.model.manualZeroing = 0xFE;       // only bit 0 is the setting
    rig.channel.openPort("COM5");
    RecordingSetupView view;
    EXPECT_EQ(rig.protocol.readDeviceSetup(view), 1);
    const std::vector<std::pair<std::string, int>> expected = {
        {"temperature", 41}, {"competitor", 42}, {"serial", 1234}, {"trigger", 30},
        {"sampling", 9},     {"manual", 0},      {"delay", 180}};
    EXPECT_EQ(view.shown, expected);
}

TEST(ReadDeviceSetup, MissingRepliesGiveZero) {
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    rig.device.setResponder([inner = rig.model.responder()](const Frame& f, FakeDevice& d) {
        if (f[1] != '6') {
            inner(f, d);
        }
    });
    RecordingSetupView view;
    EXPECT_EQ(rig.protocol.readDeviceSetup(view), 0);
    EXPECT_EQ(view.shown.size(), 6u); // everything but the delay

    rig.device.setResponder(nullptr);
    RecordingSetupView none;
    EXPECT_EQ(rig.protocol.readDeviceSetup(none), 0);
    EXPECT_TRUE(none.shown.empty());
}

TEST(WriteDeviceSetup, FramesAreByteExact) {
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    const DeviceSetupEntries entries{"200", "10000", "300", 5, 1};
    EXPECT_EQ(rig.protocol.writeDeviceSetup(entries), DeviceProtocol::Outcome::Done);
    ASSERT_EQ(rig.device.frames().size(), 3u);
    EXPECT_EQ(rig.device.frames()[0], (Frame{'e', '5', 0x10, 0x27, 0x00, 0x20, 0x03, 0x05}));
    EXPECT_EQ(rig.device.frames()[1], (Frame{'e', 'C', 0x01, 0x27, 0x00, 0x20, 0x03, 0x05}));
    EXPECT_EQ(rig.device.frames()[2], (Frame{'e', '7', 0x30, 0x75, 0x00, 0x20, 0x03, 0x05}));
    EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"Ustawienia OK"});
    EXPECT_FALSE(rig.channel.isOpen());
}

TEST(WriteDeviceSetup, RefusedValuesSendNothingFurther) {
    for (const char* trigger : {"201", "-1"}) {
        DeviceTestRig rig;
        rig.channel.openPort("COM5");
        EXPECT_EQ(rig.protocol.writeDeviceSetup({trigger, "1", "1", 0, 0}),
                  DeviceProtocol::Outcome::Stopped);
        EXPECT_TRUE(rig.device.frames().empty());
        EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"Za duza wartosc"});
        EXPECT_TRUE(rig.channel.isOpen());
    }
    // Compared as unsigned numbers: a negative competitor number or delay is too large as well.
    DeviceTestRig competitor;
    competitor.channel.openPort("COM5");
    EXPECT_EQ(competitor.protocol.writeDeviceSetup({"1", "-1", "1", 0, 0}),
              DeviceProtocol::Outcome::Stopped);
    EXPECT_TRUE(competitor.device.frames().empty());
    EXPECT_EQ(competitor.messageTexts(), std::vector<std::string>{"Za duza wartosc"});
    DeviceTestRig negativeDelay;
    negativeDelay.channel.openPort("COM5");
    EXPECT_EQ(negativeDelay.protocol.writeDeviceSetup({"1", "1", "-1", 0, 0}),
              DeviceProtocol::Outcome::Stopped);
    EXPECT_EQ(negativeDelay.device.frames().size(), 2u);
    EXPECT_EQ(negativeDelay.messageTexts(), std::vector<std::string>{"Za duza wartosc"});
    EXPECT_TRUE(negativeDelay.channel.isOpen());

    DeviceTestRig notANumber;
    notANumber.channel.openPort("COM5");
    EXPECT_EQ(notANumber.protocol.writeDeviceSetup({"1", "x7", "1", 0, 0}),
              DeviceProtocol::Outcome::Stopped);
    EXPECT_EQ(notANumber.messageTexts(),
              std::vector<std::string>{"'x7' is not a valid integer value"});

    // The delay is checked last, after two writes went out; 42,949,673 s must not wrap to 0.04 s.
    DeviceTestRig delay;
    delay.channel.openPort("COM5");
    EXPECT_EQ(delay.protocol.writeDeviceSetup({"1", "1", "42949673", 0, 0}),
              DeviceProtocol::Outcome::Stopped);
    EXPECT_EQ(delay.device.frames().size(), 2u);
}

TEST(WriteDeviceSetup, UnacknowledgedWritesAreReported) {
    DeviceTestRig rig;
    rig.channel.openPort("COM5");
    rig.device.setResponder([](const Frame&, FakeDevice& d) { d.deliver({0x00, 0x5A}); });
    EXPECT_EQ(rig.protocol.writeDeviceSetup({"30", "7", "10", 2, 0}),
              DeviceProtocol::Outcome::Failed);
    EXPECT_FALSE(rig.channel.isOpen());
    EXPECT_EQ(rig.messageTexts(),
              (std::vector<std::string>{"Błąd zapisu", "Błąd zapisu", "Błąd zapisu"}));
    EXPECT_EQ(rig.prompter.messages()[0].caption, "Ustawienia");
}

TEST(WriteDeviceSetup, OnlyATwoByteReplyIsAnAcknowledgement) {
    struct Case {
        std::vector<uint8_t> reply;
        std::vector<std::string> messages;
    };
    // Three bytes are no acknowledgement: the first two writes pass silently, the delay fails.
    const Case cases[] = {{{0x00, 0x5A, 0x00}, {"Błąd zapisu"}},
                          {{0x00, 0xA5, 0x00}, {"Błąd zapisu"}},
                          {{0x00, 0xA5}, {"Ustawienia OK"}}};
    for (const Case& c : cases) {
        DeviceTestRig rig;
        rig.channel.openPort("COM5");
        rig.device.setResponder([&c](const Frame&, FakeDevice& d) { d.deliver(c.reply); });
        rig.protocol.writeDeviceSetup({"30", "7", "10", 2, 0});
        EXPECT_EQ(rig.messageTexts(), c.messages) << c.reply.size() << " bytes";
        EXPECT_FALSE(rig.channel.isOpen());
    }
}

TEST(WriteDefaultSetup, AsksFirstAndSendsNothingWhenDeclined) {
    DeviceTestRig declined;
    declined.prompter.answerNextMessages({false});
    bool shown = false;
    EXPECT_EQ(declined.protocol.writeDefaultSetup([&](bool s) { shown = s; }),
              DeviceProtocol::Outcome::Cancelled);
    EXPECT_TRUE(declined.device.frames().empty());
    EXPECT_TRUE(declined.device.openedNames().empty());
    EXPECT_FALSE(shown);
    ASSERT_EQ(declined.prompter.messages().size(), 1u);
    const auto& question = declined.prompter.messages()[0];
    EXPECT_EQ(question.text, "Ustawienia domyślne: zawodnik 0, próg 30 m, 15 pom/sek, opóźnienie "
                             "180 s i zerowanie. Czy napewno?");
    EXPECT_EQ(question.caption, "Ustawienia");
    EXPECT_EQ(question.buttons, PromptButtons::OkCancel);

    DeviceTestRig english;
    english.language = Language::English;
    english.prompter.answerNextMessages({false});
    english.protocol.writeDefaultSetup([](bool) {});
    EXPECT_EQ(english.prompter.messages()[0].text,
              "Default setup: competitor 0, trigger 30 m, 15 samples/s, delay 180 s, and reset. "
              "Sure?");
    EXPECT_EQ(english.prompter.messages()[0].caption, "Setup");
}

TEST(WriteDefaultSetup, CarriesBytesOverFromFrameToFrame) {
    DeviceTestRig rig;
    std::vector<bool> indicator;
    std::vector<int64_t> shownAt;
    EXPECT_EQ(rig.protocol.writeDefaultSetup([&](bool shown) {
        indicator.push_back(shown);
        shownAt.push_back(rig.clock.slept());
        EXPECT_FALSE(rig.channel.isOpen()); // shown once the port is closed
    }),
              DeviceProtocol::Outcome::Done);
    ASSERT_EQ(shownAt.size(), 2u);
    EXPECT_EQ(shownAt[1] - shownAt[0], 1000);      // "OK" stays for one second
    EXPECT_EQ(rig.prompter.messages().size(), 1u); // the question, answered OK
    rig.prompter.clear();
    const std::vector<Frame> expected = {{'e', '5', 0, 0, 0, 0x78, 0, 1},
                                         {'e', 'C', 1, 0, 0, 0x78, 0, 1},
                                         {'e', '2', '2', '3', 0, 0x78, 0, 1},
                                         {'e', '7', 0x50, 0x46, 0, 0x78, 0, 1}};
    EXPECT_EQ(rig.device.frames(), expected);
    EXPECT_EQ(indicator, (std::vector<bool>{true, false}));
    EXPECT_TRUE(rig.prompter.messages().empty());
    EXPECT_EQ(rig.model.delayHundredths, 18000);
}

TEST(WriteDefaultSetup, FailedZeroOrDelayIsReportedAndTheOkStillShows) {
    for (const uint8_t failing : {protocol::kZero, protocol::kDelayWrite}) {
        DeviceTestRig rig;
        rig.device.setResponder(
            [failing, inner = rig.model.responder()](const Frame& f, FakeDevice& d) {
                if (f[1] == failing) {
                    d.deliver({0x00, 0x55, 0x55});
                } else {
                    inner(f, d);
                }
            });
        std::vector<bool> indicator;
        EXPECT_EQ(rig.protocol.writeDefaultSetup([&](bool s) { indicator.push_back(s); }, false),
                  DeviceProtocol::Outcome::Failed)
            << failing;
        EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"Błąd Zerowania"}) << failing;
        ASSERT_EQ(rig.prompter.messages().size(), 1u);
        EXPECT_EQ(rig.prompter.messages()[0].caption, "Vantorel - problem");
        EXPECT_EQ(rig.device.frames().size(), 4u);
        EXPECT_EQ(indicator, (std::vector<bool>{true, false}));
        EXPECT_FALSE(rig.channel.isOpen());
    }
}

TEST(WriteDefaultSetup, ALoneByteIsNoAcknowledgement) {
    DeviceTestRig rig;
    // An earlier acknowledgement left 0xA5 in byte 1 of the buffer.
    rig.channel.openPort("COM5");
    rig.device.deliver({0x00, 0xA5}, 0);
    rig.channel.readAvailable();
    rig.channel.closePort();
    rig.device.setResponder([](const Frame&, FakeDevice& d) { d.deliver({0x00}); });
    bool shown = false;
    EXPECT_EQ(rig.protocol.writeDefaultSetup([&](bool s) { shown = shown || s; }, false),
              DeviceProtocol::Outcome::Failed);
    EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"Błąd zapisu"});
    EXPECT_EQ(rig.device.frames().size(), 1u);
    EXPECT_FALSE(shown);
}

} // namespace
} // namespace vtl::testing
