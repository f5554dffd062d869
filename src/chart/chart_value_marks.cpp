#include "chart/chart_value_marks.h"

#include "chart/chart_value_format.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vtl::chart {

ValueMarks::ValueMarks(QCustomPlot* plot, QCPGraph* graph, QString pattern, int callout,
                       const QFont& font)
    : QCPLayerable(plot, QStringLiteral("marks")), m_graph(graph), m_pattern(std::move(pattern)),
      m_callout(callout), m_font(font), m_metrics(m_font) {
    setVisible(false);
    for (std::size_t c = 0; c < m_advances.size(); ++c) {
        m_advances[c] = m_metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }
    m_widestDigit = *std::max_element(m_advances.begin() + '0', m_advances.begin() + '9' + 1);
}

void ValueMarks::applyDefaultAntialiasingHint(QCPPainter* painter) const {
    applyAntialiasingHint(painter, mAntialiased, QCP::aeItems);
}

void ValueMarks::draw(QCPPainter* painter) {
    const auto data = m_graph->data();
    if (data->isEmpty() || !m_graph->visible()) {
        return;
    }
    const QCPAxis* keyAxis = m_graph->keyAxis();
    const QCPAxis* valueAxis = m_graph->valueAxis();
    const QRect area = keyAxis->axisRect()->rect();
    const int first = std::max(0, static_cast<int>(std::ceil(keyAxis->range().lower)));
    const int last =
        std::min(data->size() - 1, static_cast<int>(std::floor(keyAxis->range().upper)));
    const double height = m_metrics.height();
    painter->setFont(m_font);
    painter->setPen(Qt::black);
    QRectF previous; // the last mark drawn, widened by the gap kept between marks
    for (int i = first; i <= last; ++i) {
        const double value = (data->constBegin() + i)->value;
        const double x = keyAxis->coordToPixel(i);
        const double y = valueAxis->coordToPixel(value);
        if (y < area.top() || y > area.bottom()) {
            continue;
        }
        const double top = m_callout >= 0 ? y - m_callout - height : y - m_callout;
        const bool sameRow =
            !previous.isNull() && top < previous.bottom() && top + height > previous.top();
        // Neighbouring values differ in a digit or two at most, so a mark this close to the
        // previous one at the same height would overlap it: skip it before formatting.
        if (sameRow && x - (previous.width() / 2 - 2 * m_widestDigit) <= previous.right()) {
            continue;
        }
        const QString text = formatValue(value, m_pattern);
        if (text.isEmpty()) {
            continue;
        }
        const double width = textWidth(text);
        const QRectF box(x - width / 2, top, width, height);
        if (sameRow && box.intersects(previous)) {
            continue;
        }
        painter->drawLine(QPointF(x, y), QPointF(x, m_callout >= 0 ? box.bottom() : top));
        painter->drawText(box, Qt::AlignCenter | Qt::TextDontClip, text);
        previous = box.adjusted(-kGap, 0, kGap, 0);
    }
}

// Digits and separators from a table: shaping every candidate text would dominate drawing.
double ValueMarks::textWidth(const QString& text) const {
    double width = 0;
    for (const QChar c : text) {
        width += c.unicode() < m_advances.size() ? m_advances[c.unicode()]
                                                 : m_metrics.horizontalAdvance(c);
    }
    return width;
}

} // namespace vtl::chart
