// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vtl::devsim {

// A pseudo-terminal whose slave side the program opens as its serial port. The slave is set to
// raw mode before anyone opens it (no echo, no line editing, no character translation), and the
// simulator keeps its own slave descriptor open so that the master does not see a hang-up each
// time the program closes the port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new pseudo-terminal, closing any earlier one; false with a reason on failure.
    bool open(std::string& error);
    // Closes both sides; a program that holds the slave open sees the line hang up.
    void close();

    bool isOpen() const { return m_master >= 0; }
    // The master side, non-blocking: what the device writes and reads.
    int master() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace vtl::devsim
