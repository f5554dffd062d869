// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_axis_steps.h"

#include <qcustomplot.h>

#include <algorithm>

namespace vtl::chart {

double axisLength(const QCPAxis* axis) {
    const QRect area = axis->axisRect()->rect();
    const int length = axis->orientation() == Qt::Horizontal ? area.width() : area.height();
    if (length > 0) {
        return length;
    }
    // Before the first layout the axis rect is empty; the widget's extent is close enough.
    const QRect viewport = axis->parentPlot()->viewport();
    return std::max(100,
                    axis->orientation() == Qt::Horizontal ? viewport.width() : viewport.height());
}

double niceStep(double base, double minimumStep) {
    for (double decade = 1; decade < 1e12; decade *= 10) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (base * factor * decade >= minimumStep) {
                return base * factor * decade;
            }
        }
    }
    return minimumStep;
}

} // namespace vtl::chart
