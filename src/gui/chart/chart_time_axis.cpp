// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_time_axis.h"

#include "gui/chart/chart_axis_steps.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace vtl::chart {

void TimeLabelTicker::setLabels(const std::vector<QString>* labels, int count) {
    m_labels = labels;
    m_count = count;
    m_first = -1;
    m_period = 1;
    for (int i = 0; i < m_count; ++i) {
        if (!(*m_labels)[i].isEmpty()) {
            if (m_first < 0) {
                m_first = i;
            } else {
                m_period = i - m_first;
                break;
            }
        }
    }
}

void TimeLabelTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar,
                               int precision, QVector<double>& ticks, QVector<double>* subTicks,
                               QVector<QString>* tickLabels) {
    QCPAxisTicker::generate(range, locale, formatChar, precision, ticks, subTicks, tickLabels);
    m_lastMinorTicks = subTicks ? *subTicks : QVector<double>();
}

double TimeLabelTicker::getTickStep(const QCPRange& range) {
    if (m_first < 0 || !m_axis) {
        return 1;
    }
    // Rotated labels take their line height along the axis, plus 20 percent between them.
    const double spacing = QFontMetrics(m_axis->tickLabelFont()).height() * 1.2;
    return niceStep(m_period, range.size() * spacing / axisLength(m_axis));
}

int TimeLabelTicker::getSubTickCount(double) {
    return std::max(0, m_minorCount);
}

QVector<double> TimeLabelTicker::createTickVector(double tickStep, const QCPRange& range) {
    QVector<double> ticks;
    // A view zoomed out far beyond the data has no labelled point worth a tick.
    if (m_first < 0 || tickStep > 1e9) {
        return ticks;
    }
    const auto stride = static_cast<long long>(std::llround(tickStep));
    const auto firstStep = static_cast<long long>(std::floor((range.lower - m_first) / stride));
    const auto lastStep = static_cast<long long>(std::ceil((range.upper - m_first) / stride));
    for (long long step = firstStep; step <= lastStep; ++step) {
        const long long index = m_first + step * stride;
        if (index >= 0 && index < m_count && !(*m_labels)[index].isEmpty()) {
            ticks.append(static_cast<double>(index));
        }
    }
    return ticks;
}

QVector<QString> TimeLabelTicker::createLabelVector(const QVector<double>& ticks, const QLocale&,
                                                    QChar, int) {
    QVector<QString> labels;
    labels.reserve(ticks.size());
    for (const double tick : ticks) {
        labels.append((*m_labels)[static_cast<std::size_t>(tick)]);
    }
    return labels;
}

} // namespace vtl::chart
