// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qcustomplot.h>

namespace vtl::chart {

// A curve of the chart. Where several points fall into one pixel column, the plot draws the
// column's lowest and highest value; this curve draws them in the order that continues the line
// from the column before, so that a falling line is one stroke, as a rising line is, and a noisy
// curve is one stroke down each column instead of a zigzag over the whole band twice a column.
class ChartCurve : public QCPGraph {
public:
    ChartCurve(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPGraph(keyAxis, valueAxis) {}

protected:
    void getOptimizedLineData(QVector<QCPGraphData>* lineData,
                              const QCPGraphDataContainer::const_iterator& begin,
                              const QCPGraphDataContainer::const_iterator& end) const override;
};

} // namespace vtl::chart
