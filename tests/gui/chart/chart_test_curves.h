// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Curves and mouse input shared by the chart's tests.

#include "gui/chart/chart_view.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>

#include <vector>

namespace chart_test {
// A flight at 10 samples per second, extended up to the given number of points: the altitude
// curve carries a label every 10 points.
inline void addAltitudeCurve(ChartView& chart, int points, double (*altitude)(int)) {
    for (int i = chart.pointCount(ChartView::Series1); i < points; ++i) {
        chart.Add(ChartView::Series1, altitude(i),
                  i % 10 == 0 ? QString::number(i / 10) : QString());
    }
}

inline double climbAndGlide(int i) {
    return i < 300 ? i / 3.0 : 100.0 - (i - 300) * 0.05;
}

inline void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button,
                      const QPoint& pos) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, pos, target->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline void drag(QWidget* target, Qt::MouseButton button, const QPoint& from, const QPoint& to) {
    sendMouse(target, QEvent::MouseButtonPress, button, from);
    sendMouse(target, QEvent::MouseMove, button, (from + to) / 2);
    sendMouse(target, QEvent::MouseMove, button, to);
    sendMouse(target, QEvent::MouseButtonRelease, button, to);
}

// Where two tick labels of an axis overlap, as the layout placed them: the labels' boxes from
// their font, the bottom axis' labels turned upright, the left axis' right-aligned at the axis.
inline QString overlappingLabels(const ChartView::AxisLabels& labels,
                                 ChartView::LabelledAxis axis) {
    const QFontMetricsF metrics(labels.font);
    std::vector<QRectF> boxes;
    for (int i = 0; i < labels.texts.size(); ++i) {
        const QRectF text = metrics.boundingRect(labels.texts[i]);
        const double at = labels.positions[static_cast<std::size_t>(i)];
        boxes.push_back(
            axis == ChartView::BottomAxis
                ? QRectF(at - text.height() / 2, 0, text.height(), text.width())
                : QRectF(-text.width(), at - text.height() / 2, text.width(), text.height()));
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            if (boxes[i].intersects(boxes[j])) {
                return QString("%1 at %2 and %3 at %4")
                    .arg(labels.texts[int(i)])
                    .arg(labels.positions[i])
                    .arg(labels.texts[int(j)])
                    .arg(labels.positions[j]);
            }
        }
    }
    return QString();
}

// A whole flight that climbs to about 1000 m: many labels on both axes.
inline void addHighFlight(ChartView& chart) {
    addAltitudeCurve(chart, 17000, [](int i) { return i < 3000 ? i / 3.0 : 1000.0 - i * 0.05; });
}

} // namespace chart_test
