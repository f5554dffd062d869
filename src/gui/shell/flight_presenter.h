#pragma once

#include "core/flight/flight_record.h"
#include "core/shell/prompter.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct MainWindowForm;
namespace vtl {
class SmoothingFilter;
struct FlightDrawing;
struct ComparisonDrawing;
struct ProgramSettings;
} // namespace vtl

// Shows the two flights: decodes what a download or load brought into the panels, runs the
// drawing passes and puts their results on the chart, and takes typed temperatures.
class FlightPresenter : public QObject {
    Q_OBJECT
public:
    FlightPresenter(MainWindowForm& form, vtl::FlightRecord& current, vtl::FlightRecord& comparison,
                    vtl::ProgramSettings& settings, const int32_t& language,
                    vtl::Prompter& prompter);
    ~FlightPresenter() override;

    // The header of the current flight into its panel, the temperature made editable.
    void showCurrentHeader();
    void showComparisonHeader();

    // Series1 and Series2 cleared and the left axis set to a manual maximum over an automatic
    // minimum, optionally starting from zero; then the current flight drawn.
    void redrawCurrent(bool minimumFromZero);
    void drawCurrent();
    void drawComparison();

    // Samples per ten seconds of the flight whose curve was drawn last.
    uint32_t lastDrawnSamplesPer10s() const { return m_lastDrawnSamplesPer10s; }

    // The smoothing filter over the drawn curve of the current or the comparison flight: the
    // filtered curve takes the curve's place, the unfiltered one is drawn dashed beside it.
    void filterCurrent();
    void filterComparison();

    // Reports a flight that cannot be decoded, with the path it was kept under, if any.
    void reportCorruptFlight(const std::string& keptAs = std::string());

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void temperatureEntered(vtl::FlightRole role);
    void applyDrawing(const vtl::FlightDrawing& drawing);
    void applyComparison(const vtl::ComparisonDrawing& drawing);
    // The sampling rate the comparison is drawn at: a drawn current flight's, so that both curves
    // share the time axis, otherwise its own.
    uint32_t comparisonTimeBase() const;
    void keepComparisonOnCurrentTimes(int32_t currentMinorTicks);
    // A comparison drawn at the current flight's rate carries that flight's time labels, so the
    // bottom axis goes on counting seconds where the comparison runs longer; otherwise none.
    QString comparisonLabel(size_t j) const;
    char decimalSeparator() const;

    MainWindowForm& m_form;
    vtl::FlightRecord& m_current;
    vtl::FlightRecord& m_comparison;
    vtl::ProgramSettings& m_settings;
    const int32_t& m_language;
    vtl::Prompter& m_prompter;
    uint32_t m_lastDrawnSamplesPer10s = 200;
    uint32_t m_comparisonTimeBase = 0; // the rate the comparison on screen was placed at

    std::unique_ptr<vtl::SmoothingFilter> m_filter;
};
