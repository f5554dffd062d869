// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_plot.h"

namespace vtl::chart {

namespace {

// Tick labels change the margins and so the axis lengths a little; two passes settle a new
// size, the rest is a guard against labels that flip between two widths.
constexpr int kMaximumLayoutPasses = 4;

// Rendered tick labels each axis keeps: all the labels of a full axis and those that scrolling
// brings in. The plot's own default of 16 is fewer than a time axis shows, so every redraw
// measured, shaped and rendered each label again.
constexpr int kKeptTickLabels = 256;

// The axis's label store is not offered by the plot's interface; these reach it as a subclass
// may.
struct AxisPainterOf : QCPAxis {
    static QCPAxisPainterPrivate* of(QCPAxis& axis) { return axis.*(&AxisPainterOf::mAxisPainter); }
};

struct TickLabelStore : QCPAxisPainterPrivate {
    static void setCapacity(QCPAxisPainterPrivate& painter, int labels) {
        (painter.*(&TickLabelStore::mLabelCache)).setMaxCost(labels);
    }
};

} // namespace

ChartPlot::ChartPlot(QWidget* parent) : QCustomPlot(parent) {
    for (QCPAxis* axis : axisRect()->axes()) {
        TickLabelStore::setCapacity(*AxisPainterOf::of(*axis), kKeptTickLabels);
    }
}

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
