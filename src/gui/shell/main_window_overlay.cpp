// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/overlay_texts.h"
#include "gui/files/flight_log_window.h"
#include "gui/files/overlay_window.h"
#include "gui/shell/main_window.h"

// The overlay window: opened from the flight log or with an overlay file, printing through the
// chart's print path.

OverlayWindow& TVantorel_BMP::overlayWindowMade() {
    if (!m_overlay) {
        m_overlay = std::make_unique<OverlayWindow>(
            m_prompter, m_currentLanguage,
            [this](const std::function<bool(QPrinter&)>& paint) { return printDocument(paint); });
    }
    return *m_overlay;
}

void TVantorel_BMP::bringUp(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

void TVantorel_BMP::showOverlay(const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths) {
        files.push_back(path.toStdString());
    }
    overlayWindowMade().showFlights(files, vtl::OverlayAlignment::Start);
    bringUp(*m_overlay);
}

void TVantorel_BMP::openOverlayFile() {
    if (overlayWindowMade().chooseOverlayFile()) {
        bringUp(*m_overlay);
    }
}

void TVantorel_BMP::openOverlaysFrom(FlightLogWindow& log) {
    connect(&log, &FlightLogWindow::overlayRequested, this, &TVantorel_BMP::showOverlay);
}

void TVantorel_BMP::applyOverlayLanguage() {
    m_form.Nakladka1->setText(
        QString::fromStdString(vtl::caption(vtl::OverlayCaption::OpenOverlay, m_currentLanguage)));
    if (m_overlay) {
        m_overlay->applyLanguage();
    }
}
