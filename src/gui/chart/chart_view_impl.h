// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The state behind ChartView, shared by the files that implement it; nothing else includes it.

#include "gui/chart/chart_plot.h"
#include "gui/chart/chart_time_axis.h"
#include "gui/chart/chart_value_axis.h"
#include "gui/chart/chart_value_marks.h"
#include "gui/chart/chart_view.h"

#include <qcustomplot.h>

#include <QColor>
#include <QPoint>
#include <QSharedPointer>
#include <QStringList>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QKeyEvent;
class QMouseEvent;
class QVariantAnimation;
class QWheelEvent;

namespace vtl::chart {

// The points of one series as added, kept apart from the plot so that adding is cheap; the
// first page goes to the plot at the next redraw.
struct SeriesBuffer {
    std::vector<double> values;
    std::vector<QString> labels;
    // Extremes of the first page, the part the axes scale to.
    double pageMinimum = std::numeric_limits<double>::infinity();
    double pageMaximum = -std::numeric_limits<double>::infinity();
    bool transferred = true;

    int pageCount() const {
        return static_cast<int>(std::min<std::size_t>(values.size(), ChartView::kPointsPerPage));
    }
    bool hasPageData() const { return pageMinimum <= pageMaximum; }
};

struct Ranges {
    QCPRange bottom, left, right;
};

} // namespace vtl::chart

struct ChartView::Impl {
    using Ranges = vtl::chart::Ranges;

    explicit Impl(ChartView& owner);

    ChartView& view;
    vtl::chart::ChartPlot* plot;
    QCPAxis* bottom;
    QCPAxis* left;
    QCPAxis* right;
    QCPTextElement* title = nullptr;
    QCPItemRect* rubberBand = nullptr;
    QVariantAnimation* animation = nullptr;
    QSharedPointer<vtl::chart::TimeLabelTicker> timeTicker;
    QSharedPointer<vtl::chart::ValueTicker> leftTicker;
    QSharedPointer<vtl::chart::ValueTicker> rightTicker;
    std::array<QCPGraph*, kSeriesCount> graphs{};
    std::array<std::unique_ptr<vtl::chart::ValueMarks>, kSeriesCount> marks;
    std::array<vtl::chart::SeriesBuffer, kSeriesCount> buffers;
    std::vector<QString> timeLabels;         // what the time axis labels, rebuilt at each redraw
    std::array<AxisLabels, 2> laidOutLabels; // bottom and left, as the last layout placed them
    QStringList titleLines;
    std::vector<QCPGraph*> overlayGraphs;
    std::vector<QString> overlayLabels;
    int overlayCount = 0; // the longest overlay curve's points
    double overlayMinimum = std::numeric_limits<double>::infinity();
    double overlayMaximum = -std::numeric_limits<double>::infinity();
    QColor panelColour;

    bool leftAutomaticMinimum = true;
    bool leftAutomaticMaximum = true;
    double leftManualMinimum = 0;
    double leftManualMaximum = 0;
    int minorTickCount = 0;

    // Set while the view is zoomed or scrolled; otherwise each axis scales as configured.
    std::optional<Ranges> zoom;
    Ranges animationStart;
    Ranges animationTarget;
    bool redrawQueued = false;

    Qt::MouseButton dragButton = Qt::NoButton;
    QPoint pressPos;
    QPoint lastPos;
    bool dragged = false;

    std::array<QCPItemStraightLine*, 2> cursorLines{};
    std::array<QCPItemText*, 2> cursorLabels{};
    std::array<std::optional<int>, 2> cursorPoints;
    bool pointerInside = false;

    QLabel* metres = nullptr;
    QLabel* seconds = nullptr;
    QLabel* climb = nullptr;
    QLineEdit* setupOk = nullptr;

    // chart_view_look.cpp: the chart as it first appears.
    void buildAxes();
    void buildSeries();
    void buildLayout();
    void buildOverlays();

    // chart_view.cpp: buffered points, axis ranges and redrawing.
    void scheduleRedraw();
    void redraw();
    void applyRanges();
    Ranges currentRanges() const;
    QCPRange bottomRange() const;
    QCPRange leftRange() const;
    QCPRange rightRange() const;
    void dropLeftZoom();
    void afterLayout();

    // chart_view_gestures.cpp: zoom, scrolling and clicks.
    void buildZoom();
    void animateZoom(const Ranges& target);
    void mousePress(const QMouseEvent& event);
    void mouseMove(const QMouseEvent& event);
    void mouseRelease(const QMouseEvent& event);
    void wheel(const QWheelEvent& event);
    void click(const QPoint& pos);

    // chart_view_cursors.cpp: the measuring cursors and the pointer over the plot.
    void buildCursors();
    void hover(const QPoint& pos);
    void leave();
    bool cursorClick(const QMouseEvent& event);
    bool key(const QKeyEvent& event);
};
