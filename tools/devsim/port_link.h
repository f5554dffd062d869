// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>

namespace vtl::devsim {

// The alias through which the program finds the simulated device: a symbolic link, such as
// ports/COM5 beside the program's settings file, to the pseudo-terminal's slave device.
class PortLink {
public:
    explicit PortLink(std::string path) : m_path(std::move(path)) {}
    ~PortLink() { remove(); }
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    // Points the link at the target, replacing an earlier link at the path in one step (the
    // folder is made when missing). Anything else at the path is left alone: false, with why.
    bool point(const std::string& target, std::string& error);
    // Removes the link, unless something else has taken its place since.
    void remove();

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::string m_target; // what this process last pointed the link at
};

// Folder of the settings file of the program installed beside the simulator: that folder when
// the program may write its settings there, otherwise $XDG_CONFIG_HOME/vantorel or
// ~/.config/vantorel.
std::string programSettingsFolder();

// Where the program looks first for the port of the given name: <settings folder>/ports/<name>.
std::string defaultLinkPath(const std::string& portName);

} // namespace vtl::devsim
