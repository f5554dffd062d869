// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/files/interrupted_saves.h"
#include "core/files/keep_download.h"
#include "core/flight/image_handover.h"
#include "core/shell/local_time.h"
#include "core/shell/text_tables.h"
#include "gui/device/settings_dialog.h"
#include "gui/files/flight_note_field.h"
#include "gui/shell/download_indicators.h"
#include "gui/shell/transfer_input_guard.h"

// The main window's device commands: download, zeroing and the device's setup, and the archive
// the downloads go to.

namespace {

std::string joined(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) {
        text += (text.empty() ? "" : ", ") + path;
    }
    return text;
}

} // namespace

void TVantorel_BMP::recoverInterruptedSaves() {
    const vtl::InterruptedSaves outcome =
        vtl::recoverInterruptedSaves(m_archive.folder().toStdString());
    // The line holds one report: a flight still hidden matters more than one already kept.
    if (!outcome.leftBehind.empty()) {
        m_outputStatus.show(vtl::Message::RecoveryFailed, joined(outcome.leftBehind));
    } else if (!outcome.recovered.empty()) {
        m_outputStatus.show(vtl::Message::RecoveredFlight, joined(outcome.recovered));
    }
}

void TVantorel_BMP::B_Odczyt_VantoreluClick() {
    downloadNext();
}

std::optional<std::vector<uint8_t>> TVantorel_BMP::downloadNext() {
    std::optional<std::vector<uint8_t>> image = downloadAndShow();
    if (m_closeAfterTransfer) {
        close();
        return std::nullopt;
    }
    return image;
}

// A downloaded flight replaces the current one only when it decodes; otherwise the previous
// flight is drawn again, so that what is saved or printed is what the user sees (when no image
// came, before the line is drained, so that the chart is not left empty). Every image that
// came is archived before anything else happens, an incomplete or undecodable one under a name
// that says so.
std::optional<std::vector<uint8_t>> TVantorel_BMP::downloadAndShow() {
    const QString flightTitle = m_form.GroupB_Vtl->title();
    const QString flightFile = m_flightFileTitle;
    bool chartWasReset = false;
    vtl::DeviceProtocol::DownloadResult result;
    {
        TransferInputGuard guard(*this, *m_form.B_Przerwij);
        DownloadIndicators indicators(
            m_form, m_presenter, m_currentLanguage, guard, [this] { showFlightTitle(QString()); },
            [&] { showFlightAgain(flightTitle, flightFile); });
        connect(m_form.B_Przerwij, &QPushButton::clicked, &guard,
                [&guard] { guard.requestCancel(); });
        m_runningTransfer = &guard;
        m_eventLoopClock.setUserInputAllowed(true);
        result = m_protocol.downloadFlight(indicators);
        m_eventLoopClock.setUserInputAllowed(false);
        m_runningTransfer = nullptr;
        chartWasReset = indicators.chartWasReset();
    }
    auto showPreviousFlight = [&] {
        if (chartWasReset) {
            showFlightAgain(flightTitle, flightFile);
        }
    };
    if (!result) {
        showPreviousFlight();
        return std::nullopt;
    }
    const vtl::KeptDownload kept = vtl::keepDownload(
        *result, *m_currentFlight, m_archive.folder().toStdString(), vtl::localTimeNow());
    if (kept.archiveFailed) {
        m_archive.reportFailure();
    }
    if (!kept.accepted()) {
        showPreviousFlight();
        m_presenter.reportCorruptFlight(kept.keptPath.value_or(std::string()));
        return std::nullopt;
    }
    m_presenter.showCurrentHeader();
    m_presenter.drawCurrent();
    // The archive copy is the downloaded flight's file, and its note is kept beside it.
    m_noteField->setFlightFile(kept.keptPath.value_or(std::string()));
    // An opened file's notice says nothing about the flight that took its place.
    m_outputStatus.withdraw(vtl::Message::IncompleteFile);
    if (!kept.complete) {
        m_prompter.showMessage(
            vtl::incompleteDownloadText(kept.receivedBytes, kept.announcedBytes, m_currentLanguage),
            vtl::message(vtl::Message::ErrorCaption, m_currentLanguage), vtl::PromptButtons::Ok);
    }
    return vtl::downloadedImageBytes(result->bytes.data(), result->bytes.size(),
                                     result->referenceWord);
}

// The flight in memory, with its panel and title, as it was before a download emptied the chart.
void TVantorel_BMP::showFlightAgain(const QString& flightTitle, const QString& flightFile) {
    m_flightFileTitle = flightFile;
    m_form.GroupB_Vtl->setTitle(flightTitle);
    if (!m_currentFlight->holdsFlight()) {
        return;
    }
    m_presenter.showCurrentHeader();
    m_presenter.redrawCurrent(true);
}

void TVantorel_BMP::BZerowanieClick() {
    m_protocol.zeroDevice();
}

void TVantorel_BMP::Ustawienia1Click() {
    MainWindowForm& f = m_form;
    f.ECzekaj->setText(text(vtl::MainCaption::WaitIndicator));
    f.ECzekaj->show();
    f.ECzekaj->repaint();
    m_channel.openPort(m_settings.settings().portNameText());
    const bool read = m_channel.isOpen() && m_protocol.readDeviceSetup(*m_settingsDialog) == 1;
    if (!read) {
        m_prompter.showMessage(vtl::message(vtl::Message::CommunicationError, m_currentLanguage),
                               vtl::message(vtl::Message::ErrorCaption, m_currentLanguage),
                               vtl::PromptButtons::Ok);
        m_settingsDialog->blankAfterFailedRead();
    }
    f.ECzekaj->hide();
    m_settingsDialog->exec();
}

void TVantorel_BMP::Se1Click() {
    QLineEdit* ok = m_form.Chart1->setupOkIndicator();
    m_protocol.writeDefaultSetup([ok](bool shown) {
        ok->setVisible(shown);
        ok->repaint();
    });
}
