// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/overlay_chart.h"

#include "core/files/overlay_texts.h"
#include "core/flight/comparison_resampling.h"
#include "gui/chart/chart_view.h"

#include <algorithm>

void showOverlay(ChartView& chart, const vtl::FlightOverlay& overlay, vtl::Language language) {
    std::vector<ChartView::OverlayCurve> curves;
    size_t longest = 0;
    for (const vtl::OverlayFlight& flight : overlay.flights) {
        ChartView::OverlayCurve curve;
        curve.name = QString::fromStdString(flight.legendText());
        const std::vector<float> metres = vtl::plottedMetres(flight.curveCm);
        curve.metres.assign(metres.begin(), metres.end());
        curves.push_back(std::move(curve));
        longest = std::max(longest, flight.curveCm.size());
    }
    std::vector<QString> labels;
    labels.reserve(longest);
    for (size_t j = 0; j < longest; ++j) {
        const int32_t seconds =
            vtl::sampleSecondsLabel(static_cast<uint32_t>(j), overlay.samplesPer10s);
        labels.push_back(seconds < 0 ? QString() : QString::number(seconds));
    }
    chart.setOverlay(curves, labels);
    chart.clearTitle();
    chart.addTitleLine(QString::fromStdString(vtl::overlayChartTitle(overlay.alignment, language)));
}
