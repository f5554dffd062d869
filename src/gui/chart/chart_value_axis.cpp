// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_value_axis.h"

#include "gui/chart/chart_axis_steps.h"
#include "gui/chart/chart_value_format.h"

#include <QFontMetrics>

#include <cmath>
#include <utility>

namespace vtl::chart {

ValueTicker::ValueTicker(QString pattern, double resolution, double separation)
    : m_pattern(std::move(pattern)), m_resolution(resolution), m_separation(separation) {}

double ValueTicker::getTickStep(const QCPRange& range) {
    const double spacing = QFontMetrics(m_axis->tickLabelFont()).height() * (1.0 + m_separation);
    const double minimumStep = range.size() * spacing / axisLength(m_axis);
    return niceStep(m_increment > 0 ? m_increment : m_resolution, minimumStep);
}

int ValueTicker::getSubTickCount(double) {
    return 0;
}

QVector<double> ValueTicker::createTickVector(double tickStep, const QCPRange& range) {
    if (m_roundFirst) {
        return QCPAxisTicker::createTickVector(tickStep, range);
    }
    QVector<double> ticks;
    // The step fits the axis length, so the count stays small; the tolerance keeps the upper
    // end when the range is a whole number of steps.
    const auto count = static_cast<int>(std::floor(range.size() / tickStep + 1e-9));
    for (int k = 0; k <= count; ++k) {
        ticks.append(range.lower + k * tickStep);
    }
    return ticks;
}

QString ValueTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    return formatValue(tick, m_pattern);
}

} // namespace vtl::chart
