// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"
#include "gui/chart/chart_view.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace vtl {
struct TopRowLayout;
}
class CursorTable;

// Measuring on the main chart: the readout of the curves under the mouse, and the two cursors A
// and B with their table. The cursors stand on drawn samples of the current flight (of the
// comparison while no current flight is drawn) and are kept as times, so that a flight drawn
// anew keeps them where they still fall inside it.
class ChartCursors : public QObject {
    Q_OBJECT
public:
    // `timeBase` gives the samples per ten seconds that every drawn curve's points are at. The
    // table is made a child of `tableParent`, hidden while no cursor stands on the chart.
    ChartCursors(ChartView& chart, std::function<uint32_t()> timeBase,
                 const vtl::Language& language, QWidget* tableParent);
    ~ChartCursors() override;

    CursorTable* table() const { return m_table; }
    uint32_t timeBase() const { return m_timeBase(); }
    bool hasCursors() const { return m_times[0] || m_times[1]; }
    // The time of a cursor's sample, absent while it is not on the chart.
    std::optional<double> cursorTime(ChartView::CursorLine line) const;

    // What the status line says with the pointer at a place on the time axis, in points; empty
    // where no curve is drawn.
    QString readoutAt(double point) const;

    // A cursor on the drawn sample nearest to a time; it becomes the active cursor.
    void place(ChartView::CursorLine line, double seconds);
    // The active cursor one sample, or with `bySecond` one second, left (-1) or right (+1).
    void move(int direction, bool bySecond);
    void removeAll();
    // After the curves were drawn anew (another flight, a filter, the language): cursors that no
    // longer fall inside the drawn flight go, the others stand on its samples nearest to their
    // times, and the table is written again. `refreshLater` does it once control returns to the
    // event loop, when the chart holds every curve of the drawing.
    void refresh();
    void refreshLater();

    // The chart gives up the table's height while cursors stand on it.
    void makeRoom(vtl::TopRowLayout& layout) const;
    void placeTable(const vtl::TopRowLayout& layout);

signals:
    // The readout for the status line; empty when the pointer left the plot.
    void readoutChanged(const QString& text);
    // The cursors came or all went: the table shows or hides.
    void cursorsShown(bool shown);

private:
    // The curve the cursors stand on and its sample count.
    ChartView::Series baseSeries() const;
    int baseCount() const;
    void showTable();
    void showReadout(double point);

    ChartView& m_chart;
    std::function<uint32_t()> m_timeBase;
    const vtl::Language& m_language;
    CursorTable* m_table;
    std::array<std::optional<double>, 2> m_times;
    ChartView::CursorLine m_active = ChartView::CursorA;
    bool m_refreshQueued = false;
};
