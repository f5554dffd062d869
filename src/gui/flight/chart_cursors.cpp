// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/flight/chart_cursors.h"

#include "core/chart/top_row_layout.h"
#include "core/flight/cursor_readings.h"
#include "core/flight/cursor_texts.h"
#include "gui/flight/cursor_table.h"
#include "gui/look/locale_separator.h"

#include <QTimer>

#include <cmath>
#include <vector>

namespace {

int32_t centimetres(double metres) {
    return static_cast<int32_t>(std::lround(metres * 100.0));
}

std::vector<int32_t> curveCentimetres(const ChartView& chart, ChartView::Series series) {
    std::vector<int32_t> curve(static_cast<size_t>(chart.pointCount(series)));
    for (size_t j = 0; j < curve.size(); ++j) {
        curve[j] = centimetres(chart.pointValue(series, static_cast<int>(j)));
    }
    return curve;
}

} // namespace

ChartCursors::ChartCursors(ChartView& chart, std::function<uint32_t()> timeBase,
                           const vtl::Language& language, QWidget* tableParent)
    : QObject(&chart), m_chart(chart), m_timeBase(std::move(timeBase)), m_language(language),
      m_table(new CursorTable(tableParent)) {
    m_table->hide();
    connect(&chart, &ChartView::pointerMoved, this, &ChartCursors::showReadout);
    connect(&chart, &ChartView::pointerLeft, this, [this] { emit readoutChanged(QString()); });
    connect(&chart, &ChartView::cursorClicked, this,
            [this](ChartView::CursorLine line, double point) {
                const uint32_t rate = m_timeBase();
                if (rate != 0) {
                    place(line, point * 10.0 / rate);
                }
            });
    connect(&chart, &ChartView::cursorKey, this, &ChartCursors::move);
}

ChartCursors::~ChartCursors() = default;

std::optional<double> ChartCursors::cursorTime(ChartView::CursorLine line) const {
    return m_times[line];
}

ChartView::Series ChartCursors::baseSeries() const {
    return m_chart.pointCount(ChartView::Series1) > 0 ? ChartView::Series1 : ChartView::Series3;
}

int ChartCursors::baseCount() const {
    return m_chart.pointCount(baseSeries());
}

QString ChartCursors::readoutAt(double point) const {
    const uint32_t rate = m_timeBase();
    const int current = m_chart.pointCount(ChartView::Series1);
    const int comparison = m_chart.pointCount(ChartView::Series3);
    const auto j = vtl::nearestSample(point * 10.0 / std::max<uint32_t>(rate, 1),
                                      static_cast<size_t>(std::max(current, comparison)), rate);
    if (!j) {
        return QString();
    }
    const auto height = [&](ChartView::Series series,
                            int count) -> std::optional<vtl::ReadoutHeight> {
        if (static_cast<int>(*j) >= count) {
            return std::nullopt;
        }
        return vtl::ReadoutHeight{centimetres(m_chart.pointValue(series, static_cast<int>(*j))),
                                  m_chart.marksRounding(series)};
    };
    return QString::fromStdString(vtl::readoutText(
        vtl::sampleTime(*j, rate), rate, height(ChartView::Series1, current),
        height(ChartView::Series3, comparison), m_language, localeDecimalSeparator()));
}

void ChartCursors::showReadout(double point) {
    emit readoutChanged(readoutAt(point));
}

void ChartCursors::place(ChartView::CursorLine line, double seconds) {
    const uint32_t rate = m_timeBase();
    const auto j = vtl::nearestSample(seconds, static_cast<size_t>(baseCount()), rate);
    if (!j) {
        return;
    }
    m_times[line] = vtl::sampleTime(*j, rate);
    m_active = line;
    refresh();
}

void ChartCursors::move(int direction, bool bySecond) {
    if (!m_times[m_active]) {
        if (!hasCursors()) {
            return;
        }
        m_active = m_active == ChartView::CursorA ? ChartView::CursorB : ChartView::CursorA;
    }
    const uint32_t rate = m_timeBase();
    const auto count = static_cast<size_t>(baseCount());
    const auto j = vtl::nearestSample(*m_times[m_active], count, rate);
    if (!j) {
        return;
    }
    size_t to = *j;
    if (bySecond) {
        to = *vtl::nearestSample(*m_times[m_active] + direction, count, rate);
    } else if (direction < 0) {
        to = to == 0 ? 0 : to - 1;
    } else {
        to = std::min(to + 1, count - 1);
    }
    m_times[m_active] = vtl::sampleTime(to, rate);
    refresh();
}

void ChartCursors::removeAll() {
    m_times = {};
    refresh();
}

void ChartCursors::refreshLater() {
    if (m_refreshQueued) {
        return;
    }
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshQueued) {
            refresh();
        }
    });
}

void ChartCursors::refresh() {
    m_refreshQueued = false;
    const bool wasShown = !m_table->isHidden();
    const uint32_t rate = m_timeBase();
    const auto count = static_cast<size_t>(baseCount());
    for (const ChartView::CursorLine line : {ChartView::CursorA, ChartView::CursorB}) {
        std::optional<int> point;
        if (m_times[line]) {
            // Inside while the flight's last sample is the nearest or a later one is.
            const double last = vtl::sampleTime(count == 0 ? 0 : count - 1, rate);
            const double halfStep = rate == 0 ? 0.0 : 5.0 / rate;
            const auto j = vtl::nearestSample(*m_times[line], count, rate);
            if (j && *m_times[line] <= last + halfStep) {
                point = static_cast<int>(*j);
            } else {
                m_times[line].reset();
            }
        }
        m_chart.setCursorLine(line, point);
    }
    showTable();
    const bool shown = hasCursors();
    m_table->setHidden(!shown);
    if (shown != wasShown) {
        emit cursorsShown(shown);
    }
}

void ChartCursors::showTable() {
    const uint32_t rate = m_timeBase();
    const bool hasA = m_times[0].has_value();
    const bool hasB = m_times[1].has_value();
    const double timeA = hasA ? *m_times[0] : m_times[1].value_or(0.0);
    const double timeB = hasB ? *m_times[1] : timeA;
    const auto samples = vtl::cursorSamples(timeA, timeB, static_cast<size_t>(baseCount()), rate);
    const char separator = localeDecimalSeparator();
    const auto row = [&](CursorTable::Row row, ChartView::Series series, vtl::CursorWord word) {
        if (!samples || m_chart.pointCount(series) == 0) {
            m_table->clearRow(row);
            return;
        }
        const vtl::CursorReadings readings =
            vtl::cursorReadings(curveCentimetres(m_chart, series), *samples, rate);
        m_table->showRow(row, QString::fromStdString(vtl::cursorWord(word, m_language)),
                         vtl::cursorRowTexts(readings, hasA, hasB, rate,
                                             m_chart.marksRounding(series), separator));
    };
    row(CursorTable::CurrentRow, ChartView::Series1, vtl::CursorWord::CurrentRow);
    row(CursorTable::ComparisonRow, ChartView::Series3, vtl::CursorWord::ComparisonRow);
}

void ChartCursors::makeRoom(vtl::TopRowLayout& layout) const {
    if (!hasCursors()) {
        return;
    }
    layout.chartHeight -= CursorTable::kHeight;
    layout.figuresTop -= CursorTable::kHeight;
    layout.noteTop -= CursorTable::kHeight;
    layout.unitLabelsTop -= CursorTable::kHeight;
}

void ChartCursors::placeTable(const vtl::TopRowLayout& layout) {
    m_table->setGeometry(8, layout.figuresTop + vtl::kFiguresStripHeight, layout.chartWidth,
                         CursorTable::kHeight);
}
