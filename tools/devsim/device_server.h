// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "frame_assembler.h"
#include "line_writer.h"
#include "port_link.h"
#include "pseudo_terminal.h"
#include "simulated_device.h"

#include <string>

namespace vtl::devsim {

// Runs the simulated device on a pseudo-terminal behind the port link until SIGINT, SIGTERM or
// SIGHUP (or the end of standard input when asked): reads frames, answers them, and after a
// hang-up of the line opens a fresh pseudo-terminal behind the same link.
class DeviceServer {
public:
    struct Settings {
        std::string portName;
        bool quiet = false;
        bool exitOnStdinEof = false;
    };

    DeviceServer(SimulatedDevice& device, PortLink& link, Settings settings);

    // The process's exit status: 0 when stopped as asked, 1 when the line could not be served.
    int run();

private:
    bool connect();
    void receive();
    void log(const std::string& text) const;

    SimulatedDevice& m_device;
    PortLink& m_link;
    Settings m_settings;
    PseudoTerminal m_terminal;
    FrameAssembler m_assembler;
    LineWriter m_writer;
};

} // namespace vtl::devsim
