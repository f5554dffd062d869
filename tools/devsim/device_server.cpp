// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_server.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <utility>

namespace vtl::devsim {

namespace {

using SteadyClock = std::chrono::steady_clock;

std::string hex(const uint8_t* bytes, size_t count) {
    std::string text;
    char digits[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += digits;
    }
    return text;
}

// Milliseconds until the time point, rounded up so that a wake-up is never early.
int timeoutUntil(SteadyClock::time_point due, SteadyClock::time_point now) {
    if (due <= now) {
        return 0;
    }
    const auto micro = std::chrono::duration_cast<std::chrono::microseconds>(due - now).count();
    return static_cast<int>((micro + 999) / 1000);
}

} // namespace

DeviceServer::DeviceServer(SimulatedDevice& device, PortLink& link, Settings settings)
    : m_device(device), m_link(link), m_settings(std::move(settings)) {}

void DeviceServer::log(const std::string& text) const {
    if (!m_settings.quiet) {
        std::fprintf(stderr, "vantorel-devsim: %s\n", text.c_str());
    }
}

bool DeviceServer::connect() {
    std::string error;
    if (!m_terminal.open(error) || !m_link.point(m_terminal.slavePath(), error)) {
        std::fprintf(stderr, "vantorel-devsim: %s\n", error.c_str());
        return false;
    }
    m_assembler.reset();
    m_writer.clear();
    std::printf("vantorel-devsim: %s -> %s (link %s)\n", m_settings.portName.c_str(),
                m_terminal.slavePath().c_str(), m_link.path().c_str());
    std::fflush(stdout);
    return true;
}

void DeviceServer::receive() {
    std::array<uint8_t, 4096> buffer;
    const ssize_t count = ::read(m_terminal.master(), buffer.data(), buffer.size());
    if (count <= 0) {
        return;
    }
    const auto now = SteadyClock::now();
    for (const FrameAssembler::Frame& frame :
         m_assembler.feed(buffer.data(), static_cast<size_t>(count), now)) {
        std::vector<Emission> emissions = m_device.answer(frame);
        const char* name = commandName(frame[1]);
        size_t total = 0;
        for (const Emission& emission : emissions) {
            total += emission.bytes.size();
        }
        log(hex(frame.data(), frame.size()) + " (" + (name != nullptr ? name : "unknown") +
            ") -> " + std::to_string(total) + " bytes");
        m_writer.enqueue(std::move(emissions), now);
    }
}

int DeviceServer::run() {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    if (::sigprocmask(SIG_BLOCK, &stopSignals, nullptr) != 0) {
        std::perror("vantorel-devsim: sigprocmask");
        return 1;
    }
    const int signals = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signals < 0) {
        std::perror("vantorel-devsim: signalfd");
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);

    int status = connect() ? -1 : 1;
    while (status < 0) {
        std::array<pollfd, 3> watched{};
        watched[0] = {signals, POLLIN, 0};
        watched[1] = {m_terminal.master(),
                      static_cast<short>(POLLIN | (m_writer.blocked() ? POLLOUT : 0)), 0};
        watched[2] = {m_settings.exitOnStdinEof ? STDIN_FILENO : -1, POLLIN, 0};

        int timeout = -1;
        if (const auto due = m_writer.nextDue()) {
            timeout = timeoutUntil(*due, SteadyClock::now());
        } else if (m_writer.blocked()) {
            timeout = 20; // in case the line does not report room
        }
        if (::poll(watched.data(), watched.size(), timeout) < 0 && errno != EINTR) {
            std::perror("vantorel-devsim: poll");
            status = 1;
            break;
        }

        if (watched[0].revents != 0) {
            signalfd_siginfo info{};
            if (::read(signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
                log(std::string("stopping on ") + strsignal(static_cast<int>(info.ssi_signo)));
            }
            status = 0;
            break;
        }
        if (watched[2].revents != 0) {
            std::array<char, 256> discarded;
            if (::read(STDIN_FILENO, discarded.data(), discarded.size()) == 0) {
                log("standard input closed, stopping");
                status = 0;
                break;
            }
        }
        if (watched[1].revents & POLLIN) {
            receive();
        }

        switch (m_writer.service(m_terminal.master(), SteadyClock::now())) {
        case LineWriter::Result::Working:
            break;
        case LineWriter::Result::HangUp:
            log("hanging up the line in the middle of the transfer");
            m_terminal.close();
            if (!connect()) {
                status = 1;
            }
            break;
        case LineWriter::Result::Failed:
            log(std::string("the line refused the bytes: ") + std::strerror(errno));
            m_writer.clear();
            break;
        }
    }

    m_link.remove();
    m_terminal.close();
    ::close(signals);
    return status;
}

} // namespace vtl::devsim
