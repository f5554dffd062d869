// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line companion against the device simulator on a real pseudo-terminal, through
// the real Qt serial backend and the program's own protocol code.

#include "support/child_process.h"

#include "core/contest/contest.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <chrono>
#include <cstdio>
#include <future>
#include <sstream>
#include <thread>

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using vtl::testing::ChildProcess;
using vtl::testing::readBytes;
using vtl::testing::TemporaryFolder;
namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string output;
    double seconds = 0;
};

class DeviceEndToEnd : public ::testing::Test {
protected:
    // Starts the simulator serving the flight, with further options such as a fault mode.
    void startDevice(const fs::path& flight, std::vector<std::string> options = {}) {
        options.insert(options.end(),
                       {"--link", link().string(), "--flight", flight.string(), "--quiet"});
        m_device = std::make_unique<ChildProcess>(VTL_DEVSIM_PATH, options);
        ASSERT_NE(m_device->nextLine().find("-> /dev/"), std::string::npos);
    }

    // Downloads are archived into the test's folder, never into the user's. Without the power
    // to write past file permissions (as root has), a folder's mode binds the program as it
    // binds an ordinary user.
    std::string cliCommand(std::string arguments) const {
        if (arguments.find("download") != std::string::npos &&
            arguments.find("--archive-folder") == std::string::npos) {
            arguments += " --archive-folder " + (m_folder / "flights").string();
        }
        if (arguments.find("--port") == std::string::npos) {
            arguments += " --port " + link().string();
        }
        return std::string(VTL_CLI_PATH) + " " + arguments + " --settings " +
               (m_folder / "vantorel.par").string() + " 2>&1";
    }

    CliRun cli(std::string arguments, bool withoutPermissionOverride = false) {
        const std::string command = cliCommand(std::move(arguments));
        const auto begin = std::chrono::steady_clock::now();
        int output[2];
        if (::pipe(output) != 0) {
            return {};
        }
        const pid_t child = ::fork();
        if (child == 0) {
            if (withoutPermissionOverride) {
                // Gone from the bounding set, the powers do not come back when root executes.
                ::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
                ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0);
            }
            ::dup2(output[1], STDOUT_FILENO);
            ::close(output[0]);
            ::close(output[1]);
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(output[1]);
        CliRun run;
        std::array<char, 4096> buffer{};
        ssize_t read = 0;
        while ((read = ::read(output[0], buffer.data(), buffer.size())) > 0) {
            run.output.append(buffer.data(), static_cast<size_t>(read));
        }
        ::close(output[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return run;
    }

    fs::path link() const { return m_folder / "COM5"; }
    fs::path file(const std::string& name) const { return m_folder / name; }
    static fs::path sample(const std::string& name) { return fs::path(VTL_SAMPLES) / name; }

    TemporaryFolder m_folder;
    std::unique_ptr<ChildProcess> m_device;
};

TEST_F(DeviceEndToEnd, EverySampleDownloadsByteIdentical) {
    for (const char* name :
         {"towed_glider_10_per_s.bin", "rubber_model_5_per_s.bin", "power_model_20_per_s.bin",
          "hand_launch_spikes_10_per_s.bin", "thermal_rubber_2_s_per_sample.bin"}) {
        startDevice(sample(name));
        const CliRun run = cli("download " + file("out.bin").string());
        EXPECT_EQ(run.status, 0) << name << ": " << run.output;
        EXPECT_EQ(readBytes(file("out.bin")), readBytes(sample(name))) << name;
        const double lineTime = static_cast<double>(fs::file_size(sample(name))) * 11 / 115200;
        EXPECT_GE(run.seconds, lineTime) << name;
        RecordProperty(name, std::to_string(run.seconds));
        m_device.reset();
    }
}

TEST_F(DeviceEndToEnd, DownloadsAreArchivedAndTraced) {
    startDevice(sample("hand_launch_spikes_10_per_s.bin"));
    const CliRun run = cli("--trace download " + file("out.bin").string() + " --archive-folder " +
                           file("flights").string());
    ASSERT_EQ(run.status, 0) << run.output;
    const auto archived = fs::directory_iterator(file("flights"));
    ASSERT_NE(archived, fs::directory_iterator());
    EXPECT_EQ(readBytes(archived->path()), readBytes(file("out.bin")));
    // The status and download-information frames and replies, then the transfer per poll.
    EXPECT_NE(run.output.find("-> 65 34 00 00 00 00 00 00"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("<- 3a 00 d2 04 15 78 00 82"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("-> 65 44"), std::string::npos);
    EXPECT_NE(run.output.find("-> 65 31"), std::string::npos);
    EXPECT_NE(run.output.find("<- transfer +"), std::string::npos);

    EXPECT_EQ(cli("download " + file("again.bin").string() + " --no-archive --archive-folder " +
                  file("none").string())
                  .status,
              0);
    EXPECT_FALSE(fs::exists(file("none")));
}

// The device clears its new-flight flag as soon as the flight is sent: the archive copy is made
// before OUT, and where OUT cannot be written the user is told why and where the flight is.
TEST_F(DeviceEndToEnd, AFlightThatCannotBeWrittenIsKeptInTheArchive) {
    const fs::path readOnly = file("read-only");
    fs::create_directories(readOnly);
    ::chmod(readOnly.c_str(), 0555);
    startDevice(sample("hand_launch_spikes_10_per_s.bin"));
    const fs::path out = readOnly / "out.bin";
    const CliRun run = cli("download " + out.string(), true);
    if (fs::exists(out)) {
        GTEST_SKIP() << "a folder of mode 0555 stays writable here";
    }
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("Cannot create file " + out.string() + " (brak uprawnień)"),
              std::string::npos)
        << run.output;
    const auto archived = fs::directory_iterator(file("flights"));
    ASSERT_NE(archived, fs::directory_iterator()) << run.output;
    EXPECT_EQ(readBytes(archived->path()), readBytes(sample("hand_launch_spikes_10_per_s.bin")));
    EXPECT_NE(run.output.find("Zachowano jako: " + archived->path().string()), std::string::npos)
        << run.output;
    EXPECT_TRUE(fs::is_empty(readOnly));
}

TEST_F(DeviceEndToEnd, SetupIsWrittenReadAndReset) {
    startDevice(sample("thermal_rubber_2_s_per_sample.bin"));
    CliRun run = cli("setup-write --trigger 55 --competitor 321 --sampling 4 --manual-zero 0 "
                     "--delay 25");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "Ustawienia OK\n");
    run = cli("setup-read");
    EXPECT_EQ(run.output, "{\"competitorNumber\":321,\"serialNumber\":4410,\"temperature\":17,"
                          "\"triggerMetres\":55,\"samplingCode\":4,\"manualZeroing\":0,"
                          "\"delaySeconds\":25}\n");

    run = cli("zero");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "Vantorel wyzerowany\n");

    run = cli("setup-default");
    EXPECT_EQ(run.status, 0) << run.output;
    run = cli("setup-read");
    EXPECT_NE(run.output.find("\"triggerMetres\":30,\"samplingCode\":1,\"manualZeroing\":1,"
                              "\"delaySeconds\":180}"),
              std::string::npos)
        << run.output;

    EXPECT_EQ(cli("setup-write --trigger 201 --competitor 1 --sampling 0 --manual-zero 0 "
                  "--delay 1")
                  .status,
              1);
}

TEST_F(DeviceEndToEnd, ADeviceThatDoesNotAnswer) {
    startDevice(sample("rubber_model_5_per_s.bin"), {"--fault", "silent"});
    CliRun run = cli("download " + file("out.bin").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("Błąd komunikacji\n", 0), 0u) << run.output;
    EXPECT_LT(run.seconds, 5.0);
    EXPECT_FALSE(fs::exists(file("out.bin")));
    run = cli("zero");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("vantorel-cli:", 0), 0u) << "fewer than three bytes: no message";
    EXPECT_EQ(cli("setup-read").status, 1);
    EXPECT_EQ(cli("setup-default").output.rfind("Błąd zapisu\n", 0), 0u);
}

TEST_F(DeviceEndToEnd, WrongAcknowledgements) {
    startDevice(sample("rubber_model_5_per_s.bin"), {"--fault", "wrong-ack"});
    CliRun run = cli("setup-write --trigger 20 --competitor 5 --sampling 2 --manual-zero 1 "
                     "--delay 10");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("Błąd zapisu\nBłąd zapisu\nBłąd zapisu\n", 0), 0u) << run.output;
    run = cli("zero");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("Błąd Zerowania\n", 0), 0u) << run.output;
}

// The default setup goes on after a failed zeroing step, as the window does, but the command
// fails; the device's message is the one line on stderr.
TEST_F(DeviceEndToEnd, AFailedZeroingStepFailsTheDefaultSetup) {
    startDevice(sample("rubber_model_5_per_s.bin"),
                {"--fault", "zero-failure", "--trigger", "55", "--delay", "5"});
    CliRun run = cli("setup-default");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "Błąd Zerowania\n");
    run = cli("setup-read");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\"triggerMetres\":30,"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"delaySeconds\":180}"), std::string::npos) << run.output;
    run = cli("zero");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "Błąd Zerowania\n");
}

// A transfer that does not end with its marker ends on its own: the device's line time, then at
// most 3 s more (2 s of silence, a poll, the program's start and the two reply waits before).
double endBound(size_t bytesSent) {
    return 1.5 + static_cast<double>(bytesSent) * 11 / 115200 + 3.0;
}

TEST_F(DeviceEndToEnd, MoreThanTheBufferHoldsIsCutAndToldAsIncomplete) {
    startDevice(sample("power_model_20_per_s.bin"), {"--fault", "oversend"});
    const CliRun run = cli("download " + file("out.bin").string());
    EXPECT_EQ(run.status, 3) << run.output;
    const auto image = readBytes(file("out.bin"));
    const auto sent = readBytes(sample("power_model_20_per_s.bin"));
    ASSERT_EQ(image.size(), 90000u);
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), image.begin()));
    EXPECT_NE(run.output.find("Niepełny odczyt: odebrano 90000 z " +
                              std::to_string((sent.size() + 31) / 32 * 32) + " bajtów"),
              std::string::npos)
        << run.output;
    EXPECT_LT(run.seconds, endBound(90000)); // not the 102-second limit

    // What the device sent beyond the buffer does not stand in front of the next reply.
    const CliRun zero = cli("zero");
    EXPECT_EQ(zero.status, 0) << zero.output;
    EXPECT_EQ(zero.output, "Vantorel wyzerowany\n");
}

// What a download that stops early leaves: OUT and an archive copy marked partial, the sentence
// on stderr and status 3.
void expectPartial(const CliRun& run, const fs::path& out, const fs::path& flights,
                   const std::vector<uint8_t>& sent, size_t announced) {
    EXPECT_EQ(run.status, 3) << run.output;
    const auto image = readBytes(out);
    ASSERT_GE(image.size(), 32u);
    ASSERT_LE(image.size(), sent.size());
    // Byte 0 is cleared by every read but the first; bytes 8-9 take the announced reference.
    EXPECT_TRUE(std::equal(image.begin() + 10, image.end(), sent.begin() + 10));
    const std::string sentence =
        announced == 0 ? "Niepełny odczyt: odebrano " + std::to_string(image.size()) + " bajtów"
                       : "Niepełny odczyt: odebrano " + std::to_string(image.size()) + " z " +
                             std::to_string(announced) + " bajtów";
    EXPECT_NE(run.output.find(sentence), std::string::npos) << run.output;
    ASSERT_TRUE(fs::exists(flights));
    const auto archived = fs::directory_iterator(flights);
    ASSERT_NE(archived, fs::directory_iterator());
    const std::string name = archived->path().filename().string();
    EXPECT_EQ(name.substr(name.size() - 12), "_partial.bin") << name;
    EXPECT_EQ(readBytes(archived->path()), image);
}

TEST_F(DeviceEndToEnd, HangUpDuringTheTransferIsHandedOverAtOnce) {
    startDevice(sample("power_model_20_per_s.bin"), {"--fault", "hangup"});
    const CliRun run = cli("download " + file("out.bin").string());
    const auto sent = readBytes(sample("power_model_20_per_s.bin"));
    expectPartial(run, file("out.bin"), file("flights"), sent, (sent.size() + 31) / 32 * 32);
    // The hang-up itself ends the transfer: no two seconds of silence after half the image.
    EXPECT_LT(run.seconds, 1.5 + static_cast<double>(sent.size()) / 2 * 11 / 115200 + 1.0);
}

TEST_F(DeviceEndToEnd, CtrlCStopsTheTransferAndWritesNothing) {
    startDevice(sample("power_model_20_per_s.bin"));
    ChildProcess download(VTL_CLI_PATH,
                          {"download", file("out.bin").string(), "--port", link().string(),
                           "--settings", file("vantorel.par").string(), "--archive-folder",
                           file("flights").string()});
    std::this_thread::sleep_for(std::chrono::milliseconds(1800)); // the transfer is running
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(download.stop(SIGINT), 1);
    // The transfer stops at the next poll; the line is then drained for at most two seconds, so
    // that the next command does not read what the device was still sending.
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(), 3.0);
    EXPECT_FALSE(fs::exists(file("out.bin")));
    EXPECT_FALSE(fs::exists(file("flights")) && !fs::is_empty(file("flights")));
}

// A download killed outright leaves the device sending the rest of the image to nobody. The next
// download clears the line before its first command and brings the whole flight, wherever in
// the transfer the first was killed.
TEST_F(DeviceEndToEnd, ADownloadAfterAKilledOneBringsTheWholeFlight) {
    const fs::path flight = sample("towed_glider_10_per_s.bin");
    const auto sent = readBytes(flight);
    startDevice(flight);
    for (const size_t killedAfter : {size_t{1000}, sent.size() / 2, sent.size() - 1500}) {
        // The traced transfer tells how far it has come, poll by poll.
        ChildProcess killed("/bin/sh", {"-c", "exec " + cliCommand("--trace download " +
                                                                   file("killed.bin").string())});
        size_t received = 0;
        for (std::string line = killed.nextLine(); !line.empty() && received < killedAfter;
             line = killed.nextLine()) {
            const size_t bytes = line.find(" bytes, ");
            if (line.find("<- transfer +") != std::string::npos && bytes != std::string::npos) {
                received = std::stoul(line.substr(bytes + 8));
            }
        }
        ASSERT_GE(received, killedAfter) << "the transfer did not run";
        ASSERT_LT(received, sent.size()) << "the transfer ended before the kill";
        killed.stop(SIGKILL);

        const CliRun run = cli("download " + file("after.bin").string() + " --no-archive");
        EXPECT_EQ(run.status, 0) << "killed after " << received << " bytes: " << run.output;
        EXPECT_EQ(readBytes(file("after.bin")), sent) << "killed after " << received << " bytes";
        RecordProperty("after_" + std::to_string(received), std::to_string(run.seconds));
        fs::remove(file("after.bin"));
    }
}

// Two downloads through two names of one device at once: one reads the flight, the other is
// told that the port is held and by which process; nothing of one flight mixes into the other.
TEST_F(DeviceEndToEnd, TwoNamesOfOneDeviceServeOneDownloadAtATime) {
    startDevice(sample("power_model_20_per_s.bin"));
    const fs::path other = file("COM6");
    fs::create_symlink(fs::read_symlink(link()), other);
    auto first = std::async(std::launch::async,
                            [&] { return cli("download " + file("first.bin").string()); });
    auto second = std::async(std::launch::async, [&] {
        return cli("download " + file("second.bin").string() + " --port " + other.string());
    });
    const std::array<CliRun, 2> runs{first.get(), second.get()};
    const std::array<fs::path, 2> outs{file("first.bin"), file("second.bin")};
    const int winner = runs[0].status == 0 ? 0 : 1;
    const int loser = 1 - winner;
    EXPECT_EQ(runs[winner].status, 0) << runs[winner].output;
    EXPECT_EQ(readBytes(outs[winner]), readBytes(sample("power_model_20_per_s.bin")));
    EXPECT_EQ(runs[loser].status, 1) << runs[loser].output;
    EXPECT_NE(runs[loser].output.find(" jest zajęty przez inny program (proces "),
              std::string::npos)
        << runs[loser].output;
    EXPECT_FALSE(fs::exists(outs[loser]));
    ASSERT_TRUE(fs::exists(file("flights")));
    size_t archived = 0;
    for (const auto& flight : fs::directory_iterator(file("flights"))) {
        EXPECT_EQ(readBytes(flight.path()), readBytes(sample("power_model_20_per_s.bin")));
        ++archived;
    }
    EXPECT_EQ(archived, 1u);
}

// The contest station from the command line: a contest of three rounds, and the entry
// `contest download` prints (the first line of standard output that is JSON).
class ContestDownloadEndToEnd : public DeviceEndToEnd {
protected:
    void SetUp() override {
        vtl::ContestDocument document;
        document.name = "Puchar";
        document.rounds = 3;
        vtl::Contest::create(contest(), document);
    }

    std::string contest() const { return file("contest").string(); }

    static nlohmann::json entry(const CliRun& run) {
        std::istringstream lines(run.output);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.front() == '{') {
                return nlohmann::json::parse(line);
            }
        }
        return nullptr;
    }

    // The zero command frame as the trace writes it: 'e', '2', then its arguments '2' '3'.
    static bool zeroSent(const CliRun& run) {
        return run.output.find("-> 65 32 32 33") != std::string::npos;
    }

    std::vector<fs::path> archived() const {
        std::vector<fs::path> found;
        if (fs::exists(file("flights"))) {
            for (const auto& entry : fs::directory_iterator(file("flights"))) {
                found.push_back(entry.path());
            }
        }
        return found;
    }
};

TEST_F(ContestDownloadEndToEnd, TheFlightIsKeptInTheRoundAsTheArchiveKeepsIt) {
    const fs::path flight = sample("hand_launch_spikes_10_per_s.bin");
    const int competitor = vtl::readContestFlight(readBytes(flight)).competitorNumber;
    vtl::Contest::open(contest(), true).setCompetitors({{competitor, "Ala", "Orlik"}});
    startDevice(flight);
    const CliRun run = cli("--trace contest download " + contest() + " --round 2");
    ASSERT_EQ(run.status, 0) << run.output;
    const nlohmann::json kept = entry(run);
    ASSERT_TRUE(kept.is_object()) << run.output;
    EXPECT_EQ(kept["round"], 2);
    EXPECT_EQ(kept["competitor"], competitor);
    EXPECT_EQ(kept["flags"], nlohmann::json({"counted"}));
    const std::string name = kept["file"];
    ASSERT_EQ(name.rfind("round-2/", 0), 0u) << name;
    const std::vector<fs::path> copies = archived();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].filename().string(), name.substr(8));
    EXPECT_EQ(readBytes(file("contest") / name), readBytes(copies[0]));
    EXPECT_EQ(readBytes(copies[0]), readBytes(flight));
    EXPECT_FALSE(zeroSent(run)) << run.output;
    const vtl::Contest reopened = vtl::Contest::open(contest(), false);
    ASSERT_EQ(reopened.document().flights.size(), 1u);
    EXPECT_EQ(reopened.document().flights[0].file, name);
    EXPECT_TRUE(reopened.verify().empty());
}

TEST_F(ContestDownloadEndToEnd, TheDeviceIsZeroedOnlyAfterAWholeFlightIsKept) {
    startDevice(sample("rubber_model_5_per_s.bin"));
    CliRun run = cli("--trace contest download " + contest() + " --round 1 --zero");
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_TRUE(zeroSent(run)) << run.output;
    // Zeroed after the entry was kept and told, never before.
    EXPECT_GT(run.output.find("-> 65 32 32 33"), run.output.find("{\"round\":1"));
    EXPECT_NE(run.output.find("Vantorel wyzerowany"), std::string::npos) << run.output;
    m_device.reset();

    // A transfer cut short is kept, marked, and the device keeps its flight.
    fs::remove_all(file("flights"));
    startDevice(sample("power_model_20_per_s.bin"), {"--fault", "hangup"});
    run = cli("--trace contest download " + contest() + " --round 2 --zero");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_FALSE(zeroSent(run)) << run.output;
    EXPECT_NE(run.output.find("not zeroed: the download is incomplete"), std::string::npos)
        << run.output;
    const nlohmann::json partial = entry(run);
    ASSERT_TRUE(partial.is_object()) << run.output;
    EXPECT_NE(partial["flags"].dump().find("incomplete"), std::string::npos) << partial;
    ASSERT_EQ(archived().size(), 1u);
    EXPECT_EQ(readBytes(file("contest") / partial["file"].get<std::string>()),
              readBytes(archived()[0]));

    // Without --zero an incomplete download ends as `download` ends it.
    run = cli("contest download " + contest() + " --round 3");
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("Niepełny odczyt"), std::string::npos) << run.output;
}

TEST_F(ContestDownloadEndToEnd, ALockedContestIsRefusedBeforeTheDeviceIsTouched) {
    const fs::path flight = sample("hand_launch_spikes_10_per_s.bin");
    startDevice(flight);
    {
        const vtl::Contest held = vtl::Contest::open(contest(), true);
        const CliRun run = cli("--trace contest download " + contest() + " --round 1 --zero");
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_EQ(run.output.find("-> "), std::string::npos) << run.output;
    }
    // A round the contest does not have is refused as early.
    const CliRun noRound = cli("--trace contest download " + contest() + " --round 4");
    EXPECT_EQ(noRound.status, 1) << noRound.output;
    EXPECT_EQ(noRound.output.find("-> "), std::string::npos) << noRound.output;
    EXPECT_TRUE(archived().empty());
    EXPECT_TRUE(vtl::Contest::open(contest(), false).document().flights.empty());
    // The device still has its new flight: the next download brings it whole.
    const CliRun run = cli("contest download " + contest() + " --round 1");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(readBytes(archived().at(0)), readBytes(flight));
}

} // namespace
