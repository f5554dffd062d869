// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_value_marks.h"

#include "gui/look/locale_separator.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vtl::chart {

namespace {

const QString kMarksLayer = QStringLiteral("marks");
const QString kMarkTextsLayer = QStringLiteral("markTexts");
constexpr double kArrowHeadWidth = 5;
constexpr double kArrowHeadLength = 5;

} // namespace

ValueMarks::ValueMarks(QCustomPlot* plot, QCPGraph* graph, int callout, const QFont& font)
    : m_plot(plot), m_graph(graph), m_callout(callout), m_font(font), m_metrics(m_font) {
    for (std::size_t c = 0; c < m_advances.size(); ++c) {
        m_advances[c] = m_metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }
    m_widestDigit = *std::max_element(m_advances.begin() + '0', m_advances.begin() + '9' + 1);
}

QString ValueMarks::markText(double value, char decimalSeparator) const {
    // The points are single-precision metres of whole centimetres: both give the value back.
    const auto centimetres = static_cast<int32_t>(std::lround(value * 100.0));
    const std::string text = m_rounding == AltitudeRounding::ExactCentimetres
                                 ? oneDecimalTextOfCentimetres(centimetres, decimalSeparator)
                                 : oneDecimalText(static_cast<float>(value), decimalSeparator);
    return QString::fromStdString(text);
}

void ValueMarks::setVisible(bool visible) {
    m_visible = visible;
    if (!visible) {
        for (std::size_t i = 0; i < m_used; ++i) {
            m_pool[i].text->setVisible(false);
            m_pool[i].callout->setVisible(false);
        }
        m_used = 0;
    }
}

void ValueMarks::setBackground(const QColor& colour) {
    m_background = colour;
    for (const Placed& mark : m_pool) {
        mark.text->setBrush(m_background);
    }
}

std::vector<ValueMarks::Placed> ValueMarks::placed() const {
    return std::vector<Placed>(m_pool.begin(),
                               m_pool.begin() + static_cast<std::ptrdiff_t>(m_used));
}

void ValueMarks::place(MarkBoxes& taken) {
    const std::size_t previouslyUsed = m_used;
    m_used = 0;
    const auto data = m_graph->data();
    if (m_visible && !data->isEmpty() && m_graph->visible()) {
        const QCPAxis* keyAxis = m_graph->keyAxis();
        const QCPAxis* valueAxis = m_graph->valueAxis();
        const QRect area = keyAxis->axisRect()->rect();
        const int first = std::max(0, static_cast<int>(std::ceil(keyAxis->range().lower)));
        const int last =
            std::min(data->size() - 1, static_cast<int>(std::floor(keyAxis->range().upper)));
        // Asking the locale takes longer than formatting a mark: once for all of them.
        const char separator = localeDecimalSeparator();
        // The texts are laid out in whole pixels.
        const double height = std::ceil(m_metrics.height());
        QRectF previous; // the last mark of this curve, widened by the gaps kept between marks
        for (int i = first; i <= last; ++i) {
            const double value = (data->constBegin() + i)->value;
            const double x = keyAxis->coordToPixel(i);
            const double y = valueAxis->coordToPixel(value);
            if (y < area.top() || y > area.bottom()) {
                continue;
            }
            // A mark that would leave the plot (over the axis labels) goes to the curve's other
            // side.
            double callout = m_callout;
            double top = callout >= 0 ? y - callout - height : y - callout;
            if (top < area.top() || top + height > area.bottom()) {
                callout = -callout;
                top = callout >= 0 ? y - callout - height : y - callout;
            }
            const bool sameRow =
                !previous.isNull() && top < previous.bottom() && top + height > previous.top();
            // Neighbouring values differ in a digit or two at most, so a mark this close to the
            // previous one at the same height would overlap it: skip it before formatting.
            if (sameRow && x - (previous.width() / 2 - 2 * m_widestDigit) <= previous.right()) {
                continue;
            }
            const QString text = markText(value, separator);
            if (text.isEmpty()) {
                continue;
            }
            const double width = textWidth(text);
            const QRectF box(x - width / 2, top, width, height);
            // On a steep climb or where two curves cross, a mark can reach one placed earlier
            // than the last.
            if (taken.overlaps(box)) {
                continue;
            }
            show(m_used++, QPointF(x, y), box, text, callout >= 0);
            previous = box.adjusted(-kGap, -1, kGap, 1);
            taken.add(previous);
        }
    }
    for (std::size_t i = m_used; i < previouslyUsed; ++i) {
        m_pool[i].text->setVisible(false);
        m_pool[i].callout->setVisible(false);
    }
}

// The box's edge near the point lies the callout length from it; the arrow spans that length.
void ValueMarks::show(std::size_t slot, const QPointF& point, const QRectF& box,
                      const QString& text, bool above) {
    if (slot == m_pool.size()) {
        auto* label = new QCPItemText(m_plot);
        label->setLayer(kMarkTextsLayer);
        label->setClipToAxisRect(false);
        label->setSelectable(false);
        label->position->setType(QCPItemPosition::ptAbsolute);
        // Placed by its top left corner at the box that the overlap test measured.
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setPadding(QMargins());
        label->setPen(Qt::NoPen); // without a frame
        label->setBrush(m_background);
        label->setFont(m_font);
        label->setColor(Qt::black);

        auto* arrow = new QCPItemLine(m_plot);
        arrow->setLayer(kMarksLayer);
        arrow->setClipToAxisRect(false);
        arrow->setSelectable(false);
        arrow->start->setType(QCPItemPosition::ptAbsolute);
        arrow->end->setType(QCPItemPosition::ptAbsolute);
        // The head is filled with the pen's colour: a black brush.
        arrow->setPen(QPen(Qt::black, 0));
        arrow->setHead(
            QCPLineEnding(QCPLineEnding::esSpikeArrow, kArrowHeadWidth, kArrowHeadLength));
        m_pool.push_back({label, arrow});
    }
    const Placed& mark = m_pool[slot];
    const double edge = above ? box.bottom() : box.top();
    mark.text->position->setCoords(box.topLeft());
    mark.text->setText(text);
    mark.text->setVisible(true);
    mark.callout->start->setCoords(point.x(), edge);
    mark.callout->end->setCoords(point);
    mark.callout->setVisible(true);
}

// Digits and separators from a table: shaping every candidate text would dominate placing.
double ValueMarks::textWidth(const QString& text) const {
    double width = 0;
    for (const QChar c : text) {
        width += c.unicode() < m_advances.size() ? m_advances[c.unicode()]
                                                 : m_metrics.horizontalAdvance(c);
    }
    return width;
}

} // namespace vtl::chart
