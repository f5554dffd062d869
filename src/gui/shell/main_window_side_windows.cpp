// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/port_finder.h"
#include "gui/contest/contest_window.h"
#include "gui/files/flight_log_window.h"
#include "gui/files/flight_note_field.h"
#include "gui/shell/main_window.h"
#include "gui/shell/transfer_input_guard.h"

// The flight log and the contest window that the menu opens beside the main window.

// Opened once and kept: closing only hides it. It lists the archive folder until the user picks
// another, and reads its folder again whenever it is brought back, so that flights downloaded
// meanwhile show (the figures cache makes this quick).
void TVantorel_BMP::Dziennik1Click() {
    if (!m_flightLog) {
        m_flightLog = std::make_unique<FlightLogWindow>(
            m_prompter, m_currentLanguage, m_flightLogState,
            [this](const std::string& path, bool comparison) { openFlightFile(path, comparison); });
        openOverlaysFrom(*m_flightLog);
        m_flightLog->setFolder(m_archive.folder());
        m_noteField->followLog(*m_flightLog);
    } else if (!m_flightLog->isVisible() || m_flightLog->isMinimized()) {
        m_flightLog->setFolder(m_flightLog->folder());
    }
    bringUp(*m_flightLog);
}

// Opened once and kept, as the flight log is; each download it asks for is the main window's own.
void TVantorel_BMP::Zawody1Click() {
    if (!m_contest) {
        ContestWindow::Station station;
        station.download = [this] { return downloadNext(); };
        station.cancel = [this] {
            if (m_runningTransfer != nullptr) {
                m_runningTransfer->requestCancel();
            }
        };
        station.zero = [this] {
            return m_protocol.zeroDevice(false, false) == vtl::DeviceProtocol::Outcome::Done;
        };
        station.usbPorts = [this] {
            std::vector<std::string> paths;
            for (const vtl::PortDescription& port : m_findPorts().usbPorts()) {
                paths.push_back(port.systemPath);
            }
            return paths;
        };
        station.print = [this](const std::function<bool(QPrinter&)>& paint) {
            return printDocument(paint);
        };
        m_contest = std::make_unique<ContestWindow>(m_prompter, m_currentLanguage, m_contestState,
                                                    std::move(station));
    }
    bringUp(*m_contest);
}
