// SPDX-License-Identifier: GPL-3.0-or-later
// Zooming, scrolling and clicking with the mouse, and the animated zoom.

#include "gui/chart/chart_view_impl.h"

#include <QEasingCurve>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVariantAnimation>
#include <QWheelEvent>

#include <cmath>

namespace {

using vtl::chart::Ranges;

constexpr int kDragThreshold = 3;    // pixels a press may move and still count as a click
constexpr int kMinimumZoomSize = 16; // smaller rectangles are taken as a slip of the hand
constexpr double kClickTolerance = 4.0;
constexpr int kZoomAnimationMs = 150;
constexpr double kWheelZoomFactor = 0.85; // per wheel notch

QCPRange interpolate(const QCPRange& from, const QCPRange& to, double t) {
    return QCPRange(from.lower + (to.lower - from.lower) * t,
                    from.upper + (to.upper - from.upper) * t);
}

QCPRange scaledAbout(const QCPRange& range, double centre, double factor) {
    return QCPRange(centre + (range.lower - centre) * factor,
                    centre + (range.upper - centre) * factor);
}

} // namespace

void ChartView::Impl::buildZoom() {
    rubberBand = new QCPItemRect(plot);
    rubberBand->setLayer(QStringLiteral("overlay"));
    rubberBand->setClipToAxisRect(false);
    rubberBand->topLeft->setType(QCPItemPosition::ptAbsolute);
    rubberBand->bottomRight->setType(QCPItemPosition::ptAbsolute);
    rubberBand->setPen(QPen(Qt::blue));
    rubberBand->setBrush(Qt::NoBrush);
    rubberBand->setVisible(false);

    animation = new QVariantAnimation(&view);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(kZoomAnimationMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    QObject::connect(
        animation, &QVariantAnimation::valueChanged, &view, [this](const QVariant& value) {
            const double t = value.toDouble();
            zoom = Ranges{interpolate(animationStart.bottom, animationTarget.bottom, t),
                          interpolate(animationStart.left, animationTarget.left, t),
                          interpolate(animationStart.right, animationTarget.right, t)};
            redraw();
        });
    QObject::connect(animation, &QVariantAnimation::finished, &view, [this] {
        zoom = animationTarget;
        redraw();
        emit view.OnZoom();
    });
}

void ChartView::Impl::animateZoom(const Ranges& target) {
    if (animation->state() == QAbstractAnimation::Running) {
        animation->stop();
    }
    animationStart = currentRanges();
    animationTarget = target;
    if (!view.isVisible()) {
        zoom = target;
        redraw();
        emit view.OnZoom();
        return;
    }
    animation->start();
}

void ChartView::Impl::mousePress(const QMouseEvent& event) {
    if (dragButton != Qt::NoButton ||
        (event.button() != Qt::LeftButton && event.button() != Qt::RightButton)) {
        return;
    }
    if (redrawQueued) {
        redraw(); // hit tests and pixel arithmetic need the chart as it will be seen
    }
    dragButton = event.button();
    pressPos = lastPos = event.position().toPoint();
    dragged = false;
}

void ChartView::Impl::mouseMove(const QMouseEvent& event) {
    if (dragButton == Qt::NoButton) {
        hover(event.position().toPoint());
        return;
    }
    const QPoint pos = event.position().toPoint();
    if (!dragged && (pos - pressPos).manhattanLength() <= kDragThreshold) {
        return;
    }
    dragged = true;
    if (dragButton == Qt::LeftButton) {
        rubberBand->topLeft->setCoords(pressPos);
        rubberBand->bottomRight->setCoords(pos);
        rubberBand->setVisible(true);
        rubberBand->layer()->replot();
        return;
    }
    // Scrolling moves every axis by the distance the pointer moved.
    Ranges ranges = currentRanges();
    const auto shift = [](QCPRange& range, const QCPAxis* axis, int from, int to) {
        range += axis->pixelToCoord(from) - axis->pixelToCoord(to);
    };
    shift(ranges.bottom, bottom, lastPos.x(), pos.x());
    shift(ranges.left, left, lastPos.y(), pos.y());
    shift(ranges.right, right, lastPos.y(), pos.y());
    lastPos = pos;
    zoom = ranges;
    scheduleRedraw();
}

void ChartView::Impl::mouseRelease(const QMouseEvent& event) {
    if (event.button() != dragButton) {
        return;
    }
    dragButton = Qt::NoButton;
    if (event.button() != Qt::LeftButton) {
        return;
    }
    if (rubberBand->visible()) {
        rubberBand->setVisible(false);
        rubberBand->layer()->replot();
    }
    const QPoint pos = event.position().toPoint();
    if (!dragged) {
        if (!cursorClick(event)) {
            click(pos);
        }
        return;
    }
    // Dragging down and to the right zooms in; dragging back up or left undoes the zoom.
    const QPoint distance = pos - pressPos;
    if (distance.x() >= kMinimumZoomSize && distance.y() >= kMinimumZoomSize) {
        view.zoomToRect(QRect(pressPos, pos));
    } else if (distance.x() < 0 || distance.y() < 0) {
        view.UndoZoom();
    }
}

void ChartView::Impl::wheel(const QWheelEvent& event) {
    const double notches = event.angleDelta().y() / 120.0;
    if (notches == 0) {
        return;
    }
    if (redrawQueued) {
        redraw();
    }
    const double factor = std::pow(kWheelZoomFactor, notches);
    const QPointF pos = event.position();
    Ranges ranges = currentRanges();
    ranges.bottom = scaledAbout(ranges.bottom, bottom->pixelToCoord(pos.x()), factor);
    ranges.left = scaledAbout(ranges.left, left->pixelToCoord(pos.y()), factor);
    ranges.right = scaledAbout(ranges.right, right->pixelToCoord(pos.y()), factor);
    animation->stop();
    zoom = ranges;
    redraw();
    // The window reacts to a wheel zoom as to a rectangle: fine time steps get a minor grid.
    emit view.OnZoom();
}

void ChartView::Impl::click(const QPoint& pos) {
    if (plot->legend->visible() && plot->legend->selectTest(pos, false) >= 0) {
        emit view.OnClickLegend();
        return;
    }
    int nearest = -1;
    double nearestDistance = kClickTolerance;
    for (int s = 0; s < kSeriesCount; ++s) {
        QCPGraph* graph = graphs[s];
        if (!graph->visible() || graph->data()->isEmpty()) {
            continue;
        }
        const double distance = graph->selectTest(pos, false);
        if (distance >= 0 && distance <= nearestDistance) {
            nearest = s;
            nearestDistance = distance;
        }
    }
    if (nearest >= 0) {
        emit view.OnClickSeries(static_cast<Series>(nearest));
    }
}

void ChartView::UndoZoom() {
    m_impl->animation->stop();
    m_impl->zoom.reset();
    m_impl->applyRanges();
    m_impl->scheduleRedraw();
    emit OnUndoZoom();
}

void ChartView::zoomToRect(const QRect& rect) {
    if (m_impl->redrawQueued) {
        m_impl->redraw();
    }
    const QRect area = rect.normalized() & plotArea();
    if (area.width() < 2 || area.height() < 2) {
        return;
    }
    const auto span = [](const QCPAxis* axis, int from, int to) {
        return QCPRange(axis->pixelToCoord(from), axis->pixelToCoord(to));
    };
    m_impl->animateZoom(Ranges{span(m_impl->bottom, area.left(), area.right()),
                               span(m_impl->left, area.bottom(), area.top()),
                               span(m_impl->right, area.bottom(), area.top())});
}

bool ChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_impl->plot) {
        return QWidget::eventFilter(watched, event);
    }
    // The plot's own mouse handling is replaced by the chart's gestures.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_impl->mousePress(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        m_impl->mouseMove(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        m_impl->mouseRelease(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::Wheel:
        m_impl->wheel(*static_cast<QWheelEvent*>(event));
        return true;
    case QEvent::Leave:
        m_impl->leave();
        return QWidget::eventFilter(watched, event);
    case QEvent::KeyPress:
        return m_impl->key(*static_cast<QKeyEvent*>(event)) || QWidget::eventFilter(watched, event);
    default:
        return QWidget::eventFilter(watched, event);
    }
}
