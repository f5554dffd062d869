// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/chart/chart_mark_boxes.h"

#include "core/flight/decimal_text.h"

#include <qcustomplot.h>

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>

#include <array>
#include <vector>

namespace vtl::chart {

// The value of each point in a text beside it, joined to the point by a callout: a black arrow
// whose head (filled black) touches the point. Only points in view get a mark, and a mark that
// would overlap a mark already placed (of this curve or another) is skipped, so a zoom shows
// every value and a whole flight stays readable and quick to draw. The texts sit on the chart's
// background colour, on a layer above the curves and the callouts, so no line strikes them. The
// marks are plot items from a pool that grows to the most marks one layout needed; they are
// placed after each layout, the callouts on the plot's "marks" layer, the texts on "markTexts".
class ValueMarks {
public:
    // A positive callout puts the marks that many pixels above the points, a negative one below.
    ValueMarks(QCustomPlot* plot, QCPGraph* graph, int callout, const QFont& font);

    void setVisible(bool visible);
    // A mark says what the flight's panel would say for the point: the plotted metres of a drawn
    // curve, the exact centimetres of a filtered one, in the locale's separator.
    void setRounding(AltitudeRounding rounding) { m_rounding = rounding; }
    AltitudeRounding rounding() const { return m_rounding; }
    QString markText(double value, char decimalSeparator) const;
    bool visible() const { return m_visible; }
    void setBackground(const QColor& colour);
    // Places the marks for the axes as laid out now, clear of the boxes already taken, and adds
    // its own boxes to them.
    void place(MarkBoxes& taken);

    struct Placed {
        QCPItemText* text;
        QCPItemLine* callout;
    };
    // The marks of the last placement.
    std::vector<Placed> placed() const;

private:
    static constexpr double kGap = 3;

    double textWidth(const QString& text) const;
    void show(std::size_t slot, const QPointF& point, const QRectF& box, const QString& text,
              bool above);

    QCustomPlot* m_plot;
    QCPGraph* m_graph;
    AltitudeRounding m_rounding = AltitudeRounding::PlottedMetres;
    int m_callout;
    QFont m_font;
    QColor m_background = Qt::white;
    QFontMetricsF m_metrics;
    std::array<double, 128> m_advances{};
    double m_widestDigit = 0;
    bool m_visible = false;
    std::vector<Placed> m_pool;
    std::size_t m_used = 0;
};

} // namespace vtl::chart
