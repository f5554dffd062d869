// SPDX-License-Identifier: GPL-3.0-or-later
// The flights of an overlay drawn over the altitude axis, in place of the six series.

#include "gui/chart/chart_curve.h"
#include "gui/chart/chart_view_impl.h"

namespace {

// Eight colours told apart on the panel and on paper, the first the altitude curve's red.
constexpr std::array<QRgb, 8> kOverlayColours = {{
    qRgb(232, 0, 0),
    qRgb(0, 70, 230),
    qRgb(0, 160, 0),
    qRgb(240, 130, 0),
    qRgb(140, 40, 180),
    qRgb(0, 170, 190),
    qRgb(120, 80, 30),
    qRgb(230, 0, 180),
}};

} // namespace

QColor ChartView::overlayColour(int index) {
    return QColor(kOverlayColours[static_cast<size_t>(index) % kOverlayColours.size()]);
}

void ChartView::setOverlay(const std::vector<OverlayCurve>& curves,
                           const std::vector<QString>& timeLabels) {
    Impl& d = *m_impl;
    for (QCPGraph* graph : d.overlayGraphs) {
        d.plot->removeGraph(graph);
    }
    d.overlayGraphs.clear();
    d.overlayCount = 0;
    d.overlayMinimum = std::numeric_limits<double>::infinity();
    d.overlayMaximum = -std::numeric_limits<double>::infinity();
    // The legend names either the overlay's flights or the six series, never both.
    for (int s = 0; s < kSeriesCount; ++s) {
        if (s == Series4) {
            continue;
        }
        if (curves.empty()) {
            d.graphs[s]->addToLegend();
        } else {
            d.graphs[s]->removeFromLegend();
        }
    }
    for (size_t i = 0; i < curves.size(); ++i) {
        QCPGraph* graph = new vtl::chart::ChartCurve(d.bottom, d.left);
        graph->setName(curves[i].name);
        graph->setPen(QPen(overlayColour(static_cast<int>(i)), 2));
        graph->setLineStyle(QCPGraph::lsLine);
        graph->setScatterStyle(QCPScatterStyle::ssNone);
        QVector<QCPGraphData> points(static_cast<int>(curves[i].metres.size()));
        for (int j = 0; j < points.size(); ++j) {
            const double value = curves[i].metres[static_cast<size_t>(j)];
            points[j] = QCPGraphData(j, value);
            d.overlayMinimum = std::min(d.overlayMinimum, value);
            d.overlayMaximum = std::max(d.overlayMaximum, value);
        }
        graph->data()->set(points, true);
        d.overlayGraphs.push_back(graph);
        d.overlayCount = std::max(d.overlayCount, static_cast<int>(points.size()));
    }
    // The overlay has no dh/dt curve: its axis, grid and unit would stand empty.
    d.right->setVisible(curves.empty());
    d.climb->setVisible(curves.empty());
    d.overlayLabels = timeLabels;
    d.overlayLabels.resize(static_cast<size_t>(d.overlayCount));
    d.scheduleRedraw();
}
