// SPDX-License-Identifier: GPL-3.0-or-later
// A port that cannot be opened: the user learns why, and is offered the one USB serial port.
#include "core/device/usb_port_offer.h"
#include "core/shell/settings_keeper.h"
#include "device_test_rig.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vtl::testing {
namespace {

namespace fs = std::filesystem;

// The one USB adapter present, where COM6 leads: Windows names it so itself; on Linux COM6 is
// the second ttyUSB node.
#ifdef _WIN32
constexpr const char* kUsbPortPath = "COM6";
constexpr const char* kOtherUsbPortPath = "COM3";
#else
constexpr const char* kUsbPortPath = "/dev/ttyUSB1";
constexpr const char* kOtherUsbPortPath = "/dev/ttyUSB0";
#endif

TEST(PortOpenReason, FollowsTheCommunicationErrorInTheCurrentLanguage) {
    DeviceTestRig rig;
    rig.device.refuseOpeningOf("COM5", {PortOpenFailure::PermissionDenied, "/dev/ttyUSB0"});
    rig.channel.openPort("COM5");
    rig.device.refuseOpeningOf("COM5", {PortOpenFailure::NotFound, "/dev/ttyUSB0"});
    rig.channel.openPort("COM5");
    rig.device.refuseOpeningOf("COM5", {PortOpenFailure::Busy, "/dev/ttyUSB0", 4321});
    rig.channel.openPort("COM5");
    rig.language = Language::English;
    rig.device.refuseOpeningOf("COM5", {PortOpenFailure::Busy, "/dev/ttyUSB0"});
    rig.channel.openPort("COM5");
    rig.device.refuseOpeningOf("COM5", {PortOpenFailure::PermissionDenied, "/dev/ttyUSB0"});
    rig.channel.openPort("COM5");
    // A port named by a path that holds "%d" itself keeps its name.
    rig.device.refuseOpeningOf("/tmp/a%d", {PortOpenFailure::Busy, "/dev/pts/3", 77});
    rig.channel.openPort("/tmp/a%d");
    EXPECT_EQ(rig.messageTexts(),
              (std::vector<std::string>{
                  "Błąd komunikacji z portem: COM5\nBrak uprawnień do /dev/ttyUSB0. Dodaj "
                  "użytkownika do grupy dialout i zaloguj się ponownie.",
                  "Błąd komunikacji z portem: COM5\nNie ma urządzenia /dev/ttyUSB0.",
                  "Błąd komunikacji z portem: COM5\nPort COM5 jest zajęty przez inny program "
                  "(proces 4321).",
                  "Communication Error: COM5\nPort COM5 is in use by another program.",
                  "Communication Error: COM5\nNo permission for /dev/ttyUSB0. Add the user to the "
                  "dialout group and log in again.",
                  "Communication Error: /tmp/a%d\nPort /tmp/a%d is in use by another program "
                  "(process 77)."}));
    EXPECT_EQ(rig.prompter.messages()[3].caption, "Vantoreal - error");
}

// The program's settings in their file, the channel and the protocol over them, and the ports
// that the offer sees.
struct OfferRig {
    fs::path folder =
        fs::temp_directory_path() /
        ("vtl_port_offer_" +
         std::to_string(::testing::UnitTest::GetInstance()->current_test_info()->line()));
    FakeClock clock;
    FakeDevice device{clock};
    DeviceModel model;
    ScriptedPrompter prompter;
    Language language = Language::English;
    CountingPriority priority;
    SettingsKeeper keeper{(folder / "vantorel.par").string(), prompter};
    std::vector<PortDescription> present = {
        {kUsbPortPath, "FT232R USB UART", "FTDI", 0x0403, 0x6001, true}};
    UsbPortOffer offer{keeper, [this] { return PortFinder(present, {}); }};
    SerialChannel channel{device, clock, prompter, language};
    DeviceProtocol protocol{channel, clock, prompter, language, keeper.settings(), priority};

    explicit OfferRig(const std::string& configured) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        keeper.settings().setPortName(configured);
        keeper.settings().portIndex = 6;
        device.setResponder(model.responder());
        channel.setPortOffer(&offer);
    }
    ~OfferRig() { fs::remove_all(folder); }

    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const auto& m : prompter.messages()) {
            result.push_back(m.text);
        }
        return result;
    }
};

TEST(PortOffer, TakingTheUsbPortStoresItAndTheOperationGoesOnThere) {
    OfferRig rig("COM7");
    rig.device.refuseOpeningOf("COM7", {PortOpenFailure::NotFound, "/dev/ttyUSB2"});
    EXPECT_EQ(rig.protocol.zeroDevice(false), DeviceProtocol::Outcome::Done);
    EXPECT_EQ(rig.texts(), (std::vector<std::string>{
                               "Communication Error: COM7\nThere is no device /dev/ttyUSB2.",
                               "Use COM6?", "Reset - OK"}));
    EXPECT_EQ(rig.prompter.messages()[1].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(rig.device.openedNames(), (std::vector<std::string>{"COM7", "COM6"}));
    EXPECT_EQ(rig.device.frames().size(), 1u); // the zeroing went to COM6
    EXPECT_EQ(rig.keeper.settings().portNameText(), "COM6");
    EXPECT_EQ(rig.keeper.settings().portIndex, 5);
    ASSERT_TRUE(fs::exists(rig.keeper.path()));
    const ProgramSettings saved = loadProgramSettings(rig.keeper.path());
    EXPECT_EQ(saved.portNameText(), "COM6");
    EXPECT_EQ(saved.portIndex, 5);
}

TEST(PortOffer, DeclinedItChangesNothing) {
    OfferRig rig("COM7");
    rig.device.refuseOpeningOf("COM7", {PortOpenFailure::NotFound, "/dev/ttyUSB2"});
    rig.prompter.answerNextMessages({true, false});
    EXPECT_EQ(rig.protocol.zeroDevice(false), DeviceProtocol::Outcome::PortFailed);
    EXPECT_EQ(rig.device.openedNames(), (std::vector<std::string>{"COM7"}));
    EXPECT_EQ(rig.keeper.settings().portNameText(), "COM7");
    EXPECT_FALSE(fs::exists(rig.keeper.path()));
}

TEST(PortOffer, IsMadeOnlyForAnotherSingleUsbPortAndOnlyOnce) {
    {
        // The configured port is the USB port itself, held by another program.
        OfferRig rig("COM6");
        rig.device.refuseOpeningOf("COM6", {PortOpenFailure::Busy, "/dev/ttyUSB1"});
        rig.channel.openPort("COM6");
        EXPECT_EQ(rig.prompter.messages().size(), 1u);
    }
    {
        OfferRig rig("COM7");
        rig.present.push_back({kOtherUsbPortPath, "CP2102", "", 0x10c4, 0xea60, true});
        rig.device.refuseOpeningOf("COM7", {});
        rig.channel.openPort("COM7");
        EXPECT_EQ(rig.texts(), (std::vector<std::string>{"Communication Error: COM7"}));
    }
    {
        // The offered port fails as well: told once more, not offered again.
        OfferRig rig("COM7");
        rig.device.refuseOpening(true);
        rig.channel.openPort("COM7");
        EXPECT_EQ(rig.texts(), (std::vector<std::string>{"Communication Error: COM7", "Use COM6?",
                                                         "Communication Error: COM6"}));
        EXPECT_TRUE(rig.channel.openFailed());
    }
    {
        // A port the user has just picked by hand is not second-guessed.
        OfferRig rig("COM7");
        rig.device.refuseOpeningOf("COM7", {});
        rig.channel.openPort("COM7", false);
        EXPECT_EQ(rig.prompter.messages().size(), 1u);
    }
}

} // namespace
} // namespace vtl::testing
