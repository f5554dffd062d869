// SPDX-License-Identifier: GPL-3.0-or-later
#include "pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace vtl::devsim {

namespace {

std::string failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

PseudoTerminal::~PseudoTerminal() {
    close();
}

bool PseudoTerminal::open(std::string& error) {
    close();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        error = failure("posix_openpt");
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = failure("grantpt/unlockpt");
        close();
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (name == nullptr) {
        error = failure("ptsname");
        close();
        return false;
    }
    m_slavePath = name;
    m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        error = failure(("open " + m_slavePath).c_str());
        close();
        return false;
    }
    termios settings{};
    if (::tcgetattr(m_slave, &settings) != 0) {
        error = failure("tcgetattr");
        close();
        return false;
    }
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    settings.c_cflag |= CSTOPB | CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0) {
        error = failure("tcsetattr");
        close();
        return false;
    }
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = failure("fcntl");
        close();
        return false;
    }
    return true;
}

void PseudoTerminal::close() {
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    m_slavePath.clear();
}

} // namespace vtl::devsim
