// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built simulator as a child process and talks to it through its port link, as the
// program does.

#include "flight_synthesiser.h"
#include "support/child_process.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using SteadyClock = std::chrono::steady_clock;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

using vtl::testing::TemporaryFolder;

// The simulator as a child process; stopped with SIGTERM when the test ends.
class Simulator : public vtl::testing::ChildProcess {
public:
    explicit Simulator(const std::vector<std::string>& arguments)
        : ChildProcess(VTL_DEVSIM_PATH, arguments) {}
};

// The port as the program opens it: raw, non-blocking reads.
class Port {
public:
    explicit Port(const fs::path& path) {
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios settings{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0) {
            ::cfmakeraw(&settings);
            settings.c_cflag |= CSTOPB;
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    ~Port() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    bool isOpen() const { return m_fd >= 0; }

    void send(const Bytes& bytes) {
        ASSERT_EQ(::write(m_fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads until `count` bytes came (then a little longer, to catch surplus ones), the
    // timeout ran out, or the line hung up.
    Bytes receive(size_t count, std::chrono::milliseconds timeout = 1s) {
        Bytes bytes;
        auto deadline = SteadyClock::now() + timeout;
        m_hungUp = false;
        while (true) {
            const auto now = SteadyClock::now();
            if (now >= deadline) {
                return bytes;
            }
            pollfd watched{m_fd, POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
            if (::poll(&watched, 1, static_cast<int>(left.count()) + 1) <= 0) {
                continue;
            }
            uint8_t buffer[4096];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0 && (got == 0 || errno == EIO)) {
                m_hungUp = true;
                return bytes;
            }
            if (got > 0) {
                const bool complete = bytes.size() < count;
                bytes.insert(bytes.end(), buffer, buffer + got);
                if (complete && bytes.size() >= count) {
                    deadline = SteadyClock::now() + 30ms;
                }
            }
        }
    }

    Bytes exchange(const Bytes& frame, size_t count) {
        send(frame);
        return receive(count);
    }

    bool hungUp() const { return m_hungUp; }

private:
    int m_fd = -1;
    bool m_hungUp = false;
};

Bytes frame(uint8_t letter, Bytes arguments = {}) {
    Bytes bytes{'e', letter, 0, 0, 0, 0, 0, 0};
    std::copy(arguments.begin(), arguments.end(), bytes.begin() + 2);
    return bytes;
}

Bytes writeFlight(const fs::path& path, size_t samples) {
    vtl::testing::FlightDescription flight;
    flight.samplingCode = 3;
    for (size_t i = 0; i < samples; ++i) {
        flight.altitudeCm.push_back(static_cast<int32_t>(i < 20 ? 0 : (i - 20) * 7));
    }
    return vtl::testing::writeFlightFile(path, flight);
}

struct Ready {
    std::string name;
    std::string device;
    std::string link;
};

// "vantorel-devsim: NAME -> DEVICE (link PATH)"; empty fields when the line is not one.
Ready parseReady(const std::string& line) {
    const std::string prefix = "vantorel-devsim: ";
    const size_t arrow = line.find(" -> ");
    const size_t link = line.find(" (link ");
    if (line.compare(0, prefix.size(), prefix) != 0 || arrow == std::string::npos ||
        link == std::string::npos || link < arrow || line.back() != ')') {
        return {};
    }
    Ready ready{line.substr(prefix.size(), arrow - prefix.size()),
                line.substr(arrow + 4, link - arrow - 4),
                line.substr(link + 7, line.size() - link - 8)};
    if (ready.device.compare(0, 9, "/dev/pts/") != 0) {
        return {};
    }
    return ready;
}

class DevsimProcess : public ::testing::Test {
protected:
    // Starts the simulator on a small flight behind ports/COM7 in the temporary folder.
    void start(std::vector<std::string> arguments, size_t samples = 100) {
        m_image = writeFlight(m_folder / "flight.bin", samples);
        m_link = m_folder / "ports" / "COM7";
        arguments.insert(
            arguments.end(),
            {"--quiet", "--flight", (m_folder / "flight.bin").string(), "--link", m_link.string()});
        m_simulator = std::make_unique<Simulator>(arguments);
        m_ready = parseReady(m_simulator->nextLine());
        ASSERT_FALSE(m_ready.device.empty()) << "no ready line";
    }

    TemporaryFolder m_folder;
    fs::path m_link;
    Bytes m_image;
    std::unique_ptr<Simulator> m_simulator;
    Ready m_ready;
};

TEST_F(DevsimProcess, AnswersTheSetupExchangesAndKeepsWhatIsWritten) {
    start({"--competitor", "321", "--serial", "4321", "--temperature", "-10", "--trigger", "45",
           "--manual-zero", "0", "--delay", "90", "--reference", "9800"});
    EXPECT_EQ(m_ready.name, "COM7");
    EXPECT_EQ(m_ready.link, m_link.string());
    EXPECT_EQ(fs::read_symlink(m_link).string(), m_ready.device);

    Port port(m_link);
    ASSERT_TRUE(port.isOpen());
    EXPECT_EQ(port.exchange(frame('4'), 8),
              (Bytes{0x41, 0x01, 0xE1, 0x10, 0xF6, 0xB4, 0x00, 0x83}));
    // 100 samples and the terminator slot: 436 bytes, 14 blocks.
    EXPECT_EQ(port.exchange(frame('D'), 8), (Bytes{0, 0, 0x48, 0x26, 14, 0, 0, 0}));
    EXPECT_EQ(port.exchange(frame('2', {'2', '3'}), 3), (Bytes{0x00, 0xAA, 0xAA}));

    // Noise in front of a frame is skipped.
    port.send({0x00, 0x13});
    EXPECT_EQ(port.exchange(frame('5', {0x10, 0x27, 0x00, 0x20, 0x03, 0x05}), 2),
              (Bytes{0x00, 0xA5}));
    EXPECT_EQ(port.exchange(frame('4'), 8),
              (Bytes{0x10, 0x27, 0xE1, 0x10, 0xF6, 0x20, 0x03, 0x85}));

    EXPECT_EQ(port.exchange(frame('B'), 8)[0], 0);
    EXPECT_EQ(port.exchange(frame('C', {1}), 2), (Bytes{0x00, 0xA5}));
    EXPECT_EQ(port.exchange(frame('B'), 8)[0], 1);
    EXPECT_EQ(port.exchange(frame('6'), 8), (Bytes{0x28, 0x23, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(port.exchange(frame('7', {0x50, 0x46}), 2), (Bytes{0x00, 0xA5}));
    EXPECT_EQ(port.exchange(frame('6'), 8), (Bytes{0x50, 0x46, 0, 0, 0, 0, 0, 0}));

    port.send(frame('X'));
    EXPECT_TRUE(port.receive(1, 100ms).empty());
}

TEST_F(DevsimProcess, TransfersTheImageAtTheLineRate) {
    start({}, 1000);
    Port port(m_link);
    ASSERT_TRUE(port.isOpen());
    const auto begin = SteadyClock::now();
    port.send(frame('1'));
    const Bytes received = port.receive(m_image.size(), 5s);
    const double seconds = std::chrono::duration<double>(SteadyClock::now() - begin).count();
    EXPECT_EQ(received, m_image);
    EXPECT_GT(seconds, 0.8 * static_cast<double>(m_image.size()) / 10472.0);
    EXPECT_EQ(port.exchange(frame('4'), 8).at(7), 0x03); // no longer a new flight
}

TEST_F(DevsimProcess, ReplacesItsLinkAndRemovesItWhenStopped) {
    fs::create_directories(m_folder / "ports");
    fs::create_symlink("/nonexistent", m_folder / "ports" / "COM7");
    start({"--no-new-flight"});
    EXPECT_EQ(fs::read_symlink(m_link).string(), m_ready.device);
    {
        Port port(m_link);
        EXPECT_EQ(port.exchange(frame('4'), 8).at(7), 0x03);
    }
    EXPECT_EQ(m_simulator->stop(SIGTERM), 0);
    EXPECT_FALSE(fs::is_symlink(m_link));

    // Something that is not a link is never replaced.
    std::FILE* file = std::fopen(m_link.c_str(), "w");
    std::fclose(file);
    Simulator refused({"--quiet", "--link", m_link.string()});
    EXPECT_EQ(refused.exitStatus(), 1);
    EXPECT_TRUE(fs::is_regular_file(m_link));
}

// Every way out the simulator can catch takes its link away, so the program does not find a
// port that leads nowhere.
TEST_F(DevsimProcess, RemovesItsLinkOnEveryCatchableWayOut) {
    for (const int signal : {SIGINT, SIGHUP, SIGTERM}) {
        start({});
        ASSERT_TRUE(fs::is_symlink(m_link));
        EXPECT_EQ(m_simulator->stop(signal), 0) << strsignal(signal);
        EXPECT_FALSE(fs::is_symlink(m_link)) << strsignal(signal);
    }
    // The end of standard input (the test's child reads /dev/null) is a normal exit.
    start({"--exit-on-stdin-eof"});
    EXPECT_EQ(m_simulator->exitStatus(), 0);
    EXPECT_FALSE(fs::is_symlink(m_link));
}

// SIGKILL cannot be caught: the link is left behind, leading to a terminal that is gone. The next
// simulator takes the name over.
TEST_F(DevsimProcess, TakesOverTheLinkOfAKilledSimulator) {
    start({});
    const std::string killedDevice = m_ready.device;
    m_simulator->stop(SIGKILL);
    ASSERT_TRUE(fs::is_symlink(m_link));
    EXPECT_EQ(fs::read_symlink(m_link).string(), killedDevice);

    start({"--no-new-flight"});
    EXPECT_EQ(fs::read_symlink(m_link).string(), m_ready.device);
    Port port(m_link);
    ASSERT_TRUE(port.isOpen());
    EXPECT_EQ(port.exchange(frame('4'), 8).at(7), 0x03);
}

TEST_F(DevsimProcess, SilentDeviceNeverAnswers) {
    start({"--fault", "silent"});
    Port port(m_link);
    port.send(frame('4'));
    EXPECT_TRUE(port.receive(1, 300ms).empty());
    port.send(frame('1'));
    EXPECT_TRUE(port.receive(1, 300ms).empty());
}

TEST_F(DevsimProcess, WrongAcknowledgements) {
    start({"--fault", "wrong-ack"});
    Port port(m_link);
    EXPECT_EQ(port.exchange(frame('5', {0, 0, 0, 0x78, 0, 1}), 2), (Bytes{0x00, 0x5A}));
    EXPECT_EQ(port.exchange(frame('2', {'2', '3'}), 3), (Bytes{0x00, 0x55, 0x55}));
}

TEST_F(DevsimProcess, HangUpInTheTransferReopensBehindTheSameLink) {
    start({"--fault", "hangup"}, 1000);
    {
        Port port(m_link);
        port.send(frame('1'));
        const Bytes received = port.receive(m_image.size(), 5s);
        EXPECT_TRUE(port.hungUp());
        EXPECT_LE(received.size(), m_image.size() / 2);
        EXPECT_EQ(received, Bytes(m_image.begin(), m_image.begin() + received.size()));
    }
    const Ready again = parseReady(m_simulator->nextLine());
    ASSERT_FALSE(again.device.empty());
    EXPECT_EQ(fs::read_symlink(m_link).string(), again.device);
    Port port(m_link);
    EXPECT_EQ(port.exchange(frame('4'), 8).at(7), 0x83); // the flight was not sent whole
}

} // namespace
