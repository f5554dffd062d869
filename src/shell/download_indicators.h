#pragma once

#include "device/device_protocol.h"

#include <cstdint>

struct MainWindowForm;

// The main window's indicators during a download: "Odczyt danych", the progress figure, the
// blanked statistics and the chart made ready for the new flight.
class DownloadIndicators : public vtl::DownloadView {
public:
    DownloadIndicators(MainWindowForm& form, const int32_t& language);

    void showReading() override;
    void resetForNewFlight() override;
    void blankStatistics() override;
    void showProgress(const std::string& text) override;
    void hideIndicators() override;

private:
    MainWindowForm& m_form;
    const int32_t& m_language;
};
