#pragma once

#include <qcustomplot.h>

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <array>

namespace vtl::chart {

// The value of each point beside it, drawn only for the points in view and skipping a mark that
// would overlap the previous one, so a curve of thousands of points stays quick to draw. Drawn
// on the plot's "marks" layer; hidden until switched on.
class ValueMarks : public QCPLayerable {
public:
    // A positive callout puts the marks that many pixels above the points, a negative one below.
    ValueMarks(QCustomPlot* plot, QCPGraph* graph, QString pattern, int callout, const QFont& font);

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;

private:
    static constexpr double kGap = 3;

    double textWidth(const QString& text) const;

    QCPGraph* m_graph;
    QString m_pattern;
    int m_callout;
    QFont m_font;
    QFontMetricsF m_metrics;
    std::array<double, 128> m_advances{};
    double m_widestDigit = 0;
};

} // namespace vtl::chart
