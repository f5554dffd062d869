// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>

#include <string>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace vtl::testing {

// A pseudo-terminal whose slave device a port can open.
class PseudoTerminal {
public:
    PseudoTerminal() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0) {
            m_slave = ::ptsname(m_master);
        }
    }
    ~PseudoTerminal() {
        if (m_master >= 0) {
            ::close(m_master);
        }
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slave() const { return m_slave; }

private:
    int m_master = -1;
    std::string m_slave;
};

// Qt's serial port needs an application object; the platform tests make one for all suites.
inline void ensureCoreApplication() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        static QCoreApplication application(argc, argv);
    }
}

} // namespace vtl::testing
