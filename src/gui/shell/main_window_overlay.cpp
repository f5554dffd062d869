// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/flight_log_window.h"
#include "gui/files/overlay_window.h"
#include "gui/shell/main_window.h"

// The overlay window: opened from the flight log, printing through the chart's print path.

void TVantorel_BMP::showOverlay(const QStringList& paths) {
    if (!m_overlay) {
        m_overlay = std::make_unique<OverlayWindow>(
            m_prompter, m_currentLanguage,
            [this](const std::function<bool(QPrinter&)>& paint) { return printDocument(paint); });
    }
    std::vector<std::string> files;
    for (const QString& path : paths) {
        files.push_back(path.toStdString());
    }
    m_overlay->showFlights(files, vtl::OverlayAlignment::Start);
    m_overlay->setWindowState(m_overlay->windowState() & ~Qt::WindowMinimized);
    m_overlay->show();
    m_overlay->raise();
    m_overlay->activateWindow();
}

void TVantorel_BMP::openOverlaysFrom(FlightLogWindow& log) {
    connect(&log, &FlightLogWindow::overlayRequested, this, &TVantorel_BMP::showOverlay);
}

void TVantorel_BMP::applyOverlayLanguage() {
    if (m_overlay) {
        m_overlay->applyLanguage();
    }
}
