// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chart/top_row_layout.h"

#include <algorithm>

namespace vtl {

TopRowLayout layOutTopRow(int clientWidth, int clientHeight, const TopRowWidths& widths) {
    // The scale is 100 at 1280 pixels; widths beyond 128,000 pixels would make it zero.
    const int k = std::max(128000 / std::max(clientWidth, 1), 1);
    TopRowLayout layout;
    layout.chartHeight = std::max(clientHeight - kFiguresStripHeight - 120, 200);
    layout.figuresTop = 120 + layout.chartHeight + 2;
    layout.noteTop = layout.figuresTop + 2 * kFiguresLineHeight + 2;
    layout.unitLabelsTop = layout.chartHeight - 20;
    layout.chartWidth = std::max(clientWidth - 15, 500);
    layout.rightLabelsLeft = layout.chartWidth - 85;

    const int x0 = 1000 / k;
    layout.readButtonLeft = x0;
    layout.filterButtonLeft = x0 + widths.zeroButton + 7;
    const int g1 = std::max(x0 + widths.readButton + 3, 18400 / k);
    layout.flightPanelLeft = g1;
    const int g2 = std::max(g1 + widths.flightPanel + 3, 53600 / k);
    layout.discPanelLeft = g2;
    const int p = std::max(g2 + widths.discPanel + 5, clientWidth - widths.comparisonButton -
                                                          widths.comparisonPanel - 1500 / k - 8);
    layout.comparisonButtonLeft = p;
    layout.comparisonPanelLeft =
        std::max(p + widths.comparisonButton + 5, clientWidth - widths.comparisonPanel - 8);
    return layout;
}

} // namespace vtl
