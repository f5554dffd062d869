// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for tests that run the project's programs as child processes: a child whose output is
// read line by line (and, from test_files.h, the temporary folder such tests work in).

#include "support/test_files.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vtl::testing {

// A program run as a child process, its standard output read line by line; stopped with
// SIGTERM when the object goes.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
        int output[2];
        if (::pipe(output) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(output[1], STDOUT_FILENO);
            const int nothing = ::open("/dev/null", O_RDWR);
            ::dup2(nothing, STDIN_FILENO);
            ::dup2(nothing, STDERR_FILENO);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(output[1]);
        m_output = output[0];
    }

    ~ChildProcess() {
        stop();
        if (m_output >= 0) {
            ::close(m_output);
        }
    }

    // The next line the simulator prints, or empty when none comes in time.
    std::string nextLine(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (m_pending.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd watched{m_output, POLLIN, 0};
            char buffer[256];
            if (left.count() <= 0 || ::poll(&watched, 1, static_cast<int>(left.count())) <= 0) {
                return {};
            }
            const ssize_t count = ::read(m_output, buffer, sizeof buffer);
            if (count <= 0) {
                return {};
            }
            m_pending.append(buffer, static_cast<size_t>(count));
        }
        const size_t end = m_pending.find('\n');
        const std::string line = m_pending.substr(0, end);
        m_pending.erase(0, end + 1);
        return line;
    }

    // Sends the signal and waits up to four seconds for the exit status (-1 when killed after
    // that).
    int stop(int signal = SIGTERM) {
        if (m_pid <= 0) {
            return m_status;
        }
        ::kill(m_pid, signal);
        int status = 0;
        for (int i = 0; i < 400 && ::waitpid(m_pid, &status, WNOHANG) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (::waitpid(m_pid, &status, WNOHANG) == 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
        }
        m_pid = -1;
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return m_status;
    }

    // Waits for the process to end by itself.
    int exitStatus() {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return m_status;
    }

private:
    pid_t m_pid = -1;
    int m_output = -1;
    int m_status = -1;
    std::string m_pending;
};

} // namespace vtl::testing
