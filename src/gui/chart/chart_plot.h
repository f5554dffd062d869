// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qcustomplot.h>

#include <functional>
#include <utility>

namespace vtl::chart {

// The plot behind the chart view. The axis tickers choose their label steps from the axis
// lengths, but the plot chooses ticks before it lays out, from the lengths of the layout before:
// after a resize, for the picture and for a printout those are another size's lengths. This plot
// lays out again until the axis rectangle keeps its size, so the ticks fit the layout drawn.
class ChartPlot : public QCustomPlot {
public:
    explicit ChartPlot(QWidget* parent);

    // Called once after each settled layout, before anything is drawn (screen, picture, print).
    void setAfterLayout(std::function<void()> afterLayout) {
        m_afterLayout = std::move(afterLayout);
    }

protected:
    void updateLayout() override;

private:
    std::function<void()> m_afterLayout;
};

} // namespace vtl::chart
