// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_curve.h"

#include <algorithm>
#include <cmath>

namespace vtl::chart {

namespace {

// Where a column of several points gets its points, in parts of the column, as the plot places
// them: the first real point (after a gap), the two extremes, the last real point (before one).
constexpr double kFirstAt = 0.2;
constexpr double kExtremeAt = 0.25;
constexpr double kOtherExtremeAt = 0.75;
constexpr double kLastAt = 0.8;

} // namespace

void ChartCurve::getOptimizedLineData(QVector<QCPGraphData>* lineData,
                                      const QCPGraphDataContainer::const_iterator& begin,
                                      const QCPGraphDataContainer::const_iterator& end) const {
    if (lineData == nullptr || begin == end) {
        return;
    }
    const QCPAxis* keyAxis = mKeyAxis.data();
    const double keyPixelSpan =
        std::abs(keyAxis->coordToPixel(begin->key) - keyAxis->coordToPixel((end - 1)->key));
    // Fewer than two points a pixel: every point is drawn, as the plot does.
    if (!mAdaptiveSampling || keyAxis->scaleType() != QCPAxis::stLinear ||
        keyAxis->rangeReversed() || (end - begin) < 2 * keyPixelSpan + 2) {
        QCPGraph::getOptimizedLineData(lineData, begin, end);
        return;
    }
    const auto columnStart = [keyAxis](double key) {
        return keyAxis->pixelToCoord(static_cast<int>(keyAxis->coordToPixel(key)));
    };
    double start = columnStart(begin->key);
    const double column = std::abs(start - keyAxis->pixelToCoord(keyAxis->coordToPixel(start) + 1));

    auto first = begin; // the column's first point
    double lowest = first->value;
    double highest = first->value;
    int points = 1;
    double previousEnd = start; // the key of the previous column's last point
    const auto closeColumn = [&](QCPGraphDataContainer::const_iterator next) {
        if (points < 2) {
            lineData->append(*first);
            return;
        }
        if (previousEnd < start - column) {
            lineData->append(QCPGraphData(start + column * kFirstAt, first->value));
        }
        // The extreme nearer to where the line stands comes first.
        const double from = lineData->isEmpty() ? first->value : lineData->constLast().value;
        const bool highFirst = std::abs(highest - from) < std::abs(lowest - from);
        lineData->append(QCPGraphData(start + column * kExtremeAt, highFirst ? highest : lowest));
        lineData->append(
            QCPGraphData(start + column * kOtherExtremeAt, highFirst ? lowest : highest));
        if (next != end && next->key > start + column * 2) {
            lineData->append(QCPGraphData(start + column * kLastAt, (next - 1)->value));
        }
    };
    for (auto it = begin + 1; it != end; ++it) {
        if (it->key < start + column) {
            lowest = std::min(lowest, it->value);
            highest = std::max(highest, it->value);
            ++points;
            continue;
        }
        closeColumn(it);
        previousEnd = (it - 1)->key;
        first = it;
        lowest = highest = it->value;
        points = 1;
        start = columnStart(it->key);
    }
    closeColumn(end);
}

} // namespace vtl::chart
