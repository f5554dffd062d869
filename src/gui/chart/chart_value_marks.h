// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qcustomplot.h>

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <array>
#include <vector>

namespace vtl::chart {

// The value of each point in a text beside it, joined to the point by a callout: a black arrow
// whose head (filled black) touches the point. Only points in view get a mark, and a mark that
// would overlap the previous one is skipped, so a zoom shows every value and a whole flight
// stays readable and quick to draw. The marks are plot items from a pool that grows to the most
// marks one layout needed; they are placed after each layout, on the plot's "marks" layer.
class ValueMarks {
public:
    // A positive callout puts the marks that many pixels above the points, a negative one below.
    ValueMarks(QCustomPlot* plot, QCPGraph* graph, QString pattern, int callout, const QFont& font);

    void setVisible(bool visible);
    bool visible() const { return m_visible; }
    // Places the marks for the axes as laid out now.
    void place();

    struct Placed {
        QCPItemText* text;
        QCPItemLine* callout;
    };
    // The marks of the last placement.
    std::vector<Placed> placed() const;

private:
    static constexpr double kGap = 3;

    double textWidth(const QString& text) const;
    void show(std::size_t slot, const QPointF& point, const QRectF& box, const QString& text);

    QCustomPlot* m_plot;
    QCPGraph* m_graph;
    QString m_pattern;
    int m_callout;
    QFont m_font;
    QFontMetricsF m_metrics;
    std::array<double, 128> m_advances{};
    double m_widestDigit = 0;
    bool m_visible = false;
    std::vector<Placed> m_pool;
    std::size_t m_used = 0;
};

} // namespace vtl::chart
