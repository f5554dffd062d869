// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vtl {

// Places of the main window's top row and size of the chart for a client area. The first
// controls sit at fixed fractions of a 1280-pixel design width, pushed right where they would
// overlap; the comparison button and panel are anchored to the right edge.
struct TopRowLayout {
    int chartWidth = 0;
    // Over the client area above the figures strip: the strip always takes its height from the
    // bottom, so the chart never hides the figures lines.
    int chartHeight = 0;
    int figuresTop = 0;           // the first figures line, right under the chart
    int noteTop = 0;              // the current flight's note, under the figures lines
    int unitLabelsTop = 0;        // "[m]" and "[sek]" on the chart
    int rightLabelsLeft = 0;      // "[sek]" and "dh/dt" on the chart
    int readButtonLeft = 0;       // B_Odczyt_Vantorelu and BZerowanie
    int filterButtonLeft = 0;     // B_Filtr_Vtl
    int flightPanelLeft = 0;      // GroupB_Vtl
    int discPanelLeft = 0;        // GBDysk_ZapisOdczyt
    int comparisonButtonLeft = 0; // B_Porownanie and B_Filtr_por
    int comparisonPanelLeft = 0;  // GroupB_Por
};

// The strip under the chart holds two figures lines, the current flight's and the comparison's,
// and the line of the current flight's note.
constexpr int kFiguresLineHeight = 18;
constexpr int kNoteLineHeight = 22;
constexpr int kFiguresStripHeight = 2 * kFiguresLineHeight + kNoteLineHeight + 6;

struct TopRowWidths {
    int readButton = 145;      // B_Odczyt_Vantorelu
    int zeroButton = 81;       // BZerowanie
    int flightPanel = 281;     // GroupB_Vtl
    int discPanel = 129;       // GBDysk_ZapisOdczyt
    int comparisonButton = 97; // B_Porownanie
    int comparisonPanel = 297; // GroupB_Por
};

TopRowLayout layOutTopRow(int clientWidth, int clientHeight, const TopRowWidths& widths = {});

} // namespace vtl
