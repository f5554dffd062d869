// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/device_protocol.h"
#include "core/shell/language.h"

#include <cstdint>
#include <functional>

struct MainWindowForm;
class FlightPresenter;
class TransferInputGuard;

// The main window's indicators during a download: "Odczyt danych", the progress figure, the
// blanked statistics and the chart made ready for the new flight.
class DownloadIndicators : public vtl::DownloadView {
public:
    // The Cancel button is shown with the indicators; `guard` tells whether the user asked to stop.
    // `showDeviceTitle` gives the flight panel its own caption as the reading starts;
    // `showPreviousFlight` draws the flight in memory again on a chart emptied for a new one.
    DownloadIndicators(MainWindowForm& form, FlightPresenter& presenter,
                       const vtl::Language& language, const TransferInputGuard& guard,
                       std::function<void()> showDeviceTitle,
                       std::function<void()> showPreviousFlight);

    void showReading() override;
    void resetForNewFlight() override;
    void blankStatistics() override;
    void showProgress(const std::string& text) override;
    void hideIndicators() override;
    bool cancelRequested() override;
    // A transfer that brought no image shows the previous flight at once, not after the drain.
    void transferEnded(bool imageCame) override;

    // The chart is still empty for the new flight: a download that brings none must draw the old
    // one again.
    bool chartWasReset() const { return m_chartWasReset; }

private:
    MainWindowForm& m_form;
    FlightPresenter& m_presenter;
    const vtl::Language& m_language;
    const TransferInputGuard& m_guard;
    std::function<void()> m_showDeviceTitle;
    std::function<void()> m_showPreviousFlight;
    bool m_chartWasReset = false;
};
