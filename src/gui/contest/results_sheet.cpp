// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/contest/results_sheet.h"

#include "core/contest/contest.h"
#include "core/shell/atomic_file.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <vector>

namespace {

constexpr double kMarginMm = 15.0;
// Readable at arm's length on a notice board; rows spaced so that a finger follows one.
constexpr int kTablePoints = 10;
constexpr int kSmallestPoints = 7;
constexpr int kTitlePoints = 16;
constexpr size_t kNameColumn = 2; // after the rank and the number

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ResultsSheet::ResultsSheet(const vtl::Contest& contest, vtl::Language language)
    : m_layout(contest, language) {}

bool ResultsSheet::print(QPrinter& printer) const {
    return paint(printer);
}

bool ResultsSheet::paint(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const QRectF page(0, 0, device.width(), device.height());
    const std::vector<std::string>& columns = m_layout.columns();
    const auto& rows = m_layout.rows();

    // The table's font shrinks until every column fits the page's width; what is left of the
    // width goes to the names.
    QFont font(QStringLiteral("Sans Serif"));
    const double gap = page.width() * 0.01;
    std::vector<double> widths(columns.size());
    double used = 0;
    for (int points = kTablePoints; points >= kSmallestPoints; --points) {
        font.setPointSize(points);
        QFont heads = font;
        heads.setBold(true);
        const QFontMetricsF metrics(font, &device);
        const QFontMetricsF headMetrics(heads, &device);
        used = 0;
        for (size_t column = 0; column < columns.size(); ++column) {
            double widest = headMetrics.horizontalAdvance(qs(columns[column]));
            for (const std::vector<std::string>& row : rows) {
                widest = std::max(widest, metrics.horizontalAdvance(qs(row[column])));
            }
            widths[column] = widest + gap;
            used += widths[column];
        }
        if (used <= page.width()) {
            break;
        }
    }
    if (used < page.width() && widths.size() > kNameColumn) {
        widths[kNameColumn] += page.width() - used;
    }
    QFont bold = font;
    bold.setBold(true);
    QFont title = font;
    title.setPointSize(kTitlePoints);
    title.setBold(true);
    const double line = QFontMetricsF(font, &device).height() * 1.4;
    const double titleLine = QFontMetricsF(title, &device).height() * 1.3;

    // Every page holds the heading, the column heads, the rows and the footer. A heading line
    // longer than the page (a long rule in words) wraps rather than running off the paper.
    const size_t headingLines = m_layout.heading().size();
    std::vector<double> headingHeights(headingLines, line);
    for (size_t index = 1; index < headingLines; ++index) {
        const QRectF needed = QFontMetricsF(font, &device)
                                  .boundingRect(QRectF(0, 0, page.width(), line), Qt::TextWordWrap,
                                                qs(m_layout.heading()[index]));
        headingHeights[index] =
            std::max(line, needed.height() + line - QFontMetricsF(font, &device).height());
    }
    double headingHeight = titleLine + line;
    for (size_t index = 1; index < headingLines; ++index) {
        headingHeight += headingHeights[index];
    }
    const double footerHeight = line * 2 + static_cast<double>(m_layout.notes().size()) * line;
    const double tableHeight = page.height() - headingHeight - footerHeight - line;
    const size_t rowsPerPage = std::max<size_t>(1, static_cast<size_t>(tableHeight / line));
    const size_t pages = m_layout.pageCount(rowsPerPage);

    auto drawRow = [&](double y, const std::vector<std::string>& cells) {
        double x = 0;
        for (size_t column = 0; column < cells.size(); ++column) {
            const QRectF cell(x, y, widths[column] - gap / 2, line);
            const Qt::Alignment align =
                m_layout.alignment()[column] == vtl::ResultsSheetLayout::Align::Right
                    ? Qt::AlignRight | Qt::AlignVCenter
                    : Qt::AlignLeft | Qt::AlignVCenter;
            painter.drawText(cell, align, qs(cells[column]));
            x += widths[column];
        }
    };

    for (size_t pageIndex = 0; pageIndex < pages; ++pageIndex) {
        if (pageIndex > 0 && !device.newPage()) {
            return false;
        }
        double y = 0;
        painter.setFont(title);
        painter.drawText(QRectF(0, y, page.width(), titleLine), Qt::AlignLeft | Qt::AlignVCenter,
                         qs(m_layout.heading().front()));
        y += titleLine;
        painter.setFont(font);
        for (size_t index = 1; index < headingLines; ++index) {
            painter.drawText(QRectF(0, y, page.width(), headingHeights[index]),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                             qs(m_layout.heading()[index]));
            y += headingHeights[index];
        }
        y += line;
        painter.setFont(bold);
        drawRow(y, columns);
        y += line;
        painter.drawLine(QPointF(0, y), QPointF(page.width(), y));
        painter.setFont(font);
        const auto [first, last] = m_layout.pageRows(pageIndex, rowsPerPage);
        for (size_t row = first; row < last; ++row) {
            drawRow(y, rows[row]);
            y += line;
        }
        if (pageIndex + 1 == pages) {
            y += line;
            for (const std::string& note : m_layout.notes()) {
                painter.drawText(QRectF(0, y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                                 qs(note));
                y += line;
            }
        }
        painter.drawText(QRectF(0, page.height() - line, page.width(), line),
                         Qt::AlignHCenter | Qt::AlignVCenter,
                         qs(m_layout.pageFooter(pageIndex, pages)));
    }
    return painter.end();
}

bool ResultsSheet::writePdf(const std::string& path, int* error) const {
    if (error != nullptr) {
        *error = 0;
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Vantorel"));
        if (!paint(writer)) {
            return false;
        }
    }
    return vtl::writeFileAtomically(path, reinterpret_cast<const uint8_t*>(bytes.data()),
                                    static_cast<size_t>(bytes.size()), error);
}
