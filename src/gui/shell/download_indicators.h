// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/device_protocol.h"
#include "core/shell/language.h"

#include <cstdint>

struct MainWindowForm;
class FlightPresenter;
class TransferInputGuard;

// The main window's indicators during a download: "Odczyt danych", the progress figure, the
// blanked statistics and the chart made ready for the new flight.
class DownloadIndicators : public vtl::DownloadView {
public:
    // The Cancel button is shown with the indicators; `guard` tells whether the user asked to stop.
    DownloadIndicators(MainWindowForm& form, FlightPresenter& presenter,
                       const vtl::Language& language, const TransferInputGuard& guard);

    void showReading() override;
    void resetForNewFlight() override;
    void blankStatistics() override;
    void showProgress(const std::string& text) override;
    void hideIndicators() override;
    bool cancelRequested() override;

    // The chart was emptied for the new flight: a download that brings none must draw the old
    // one again.
    bool chartWasReset() const { return m_chartWasReset; }

private:
    MainWindowForm& m_form;
    FlightPresenter& m_presenter;
    const vtl::Language& m_language;
    const TransferInputGuard& m_guard;
    bool m_chartWasReset = false;
};
