// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_plot.h"

namespace vtl::chart {

namespace {

// Tick labels change the margins and so the axis lengths a little; two passes settle a new
// size, the rest is a guard against labels that flip between two widths.
constexpr int kMaximumLayoutPasses = 4;

} // namespace

ChartPlot::ChartPlot(QWidget* parent) : QCustomPlot(parent) {}

void ChartPlot::updateLayout() {
    for (int pass = 0; pass < kMaximumLayoutPasses; ++pass) {
        const QRect before = axisRect()->rect();
        QCustomPlot::updateLayout();
        if (axisRect()->rect() == before) {
            break;
        }
    }
    if (m_afterLayout) {
        m_afterLayout();
    }
}

} // namespace vtl::chart
