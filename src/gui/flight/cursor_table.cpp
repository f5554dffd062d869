// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/flight/cursor_table.h"

#include "gui/look/window_look.h"

#include <QGridLayout>
#include <QLabel>

namespace {

const QColor kMaroon(128, 0, 0); // the comparison's colour, as in its figures line

} // namespace

CursorTable::CursorTable(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CursorTable"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(0);
    const QFont font = vtl::designFont(QStringLiteral("Arial"), 13);
    QFont bold = font;
    bold.setBold(true);
    const QStringList heading = {QString(),
                                 QStringLiteral("A"),
                                 QStringLiteral("B"),
                                 QStringLiteral("\u0394t"),
                                 QStringLiteral("\u0394h"),
                                 QStringLiteral("\u0394h/\u0394t")};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            auto* label = new QLabel(this);
            label->setFont(r == 0 || c == 0 ? bold : font);
            label->setFixedHeight(kRowHeight);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            if (r == 0) {
                label->setText(heading[c]);
            }
            if (r == 1 + ComparisonRow) {
                QPalette maroon = label->palette();
                maroon.setColor(QPalette::WindowText, kMaroon);
                label->setPalette(maroon);
            }
            grid->addWidget(label, r, c);
            m_cells[static_cast<size_t>(r)][static_cast<size_t>(c)] = label;
        }
    }
    // The times and heights take the room they need; the last column takes the rest.
    grid->setColumnStretch(kColumns - 1, 1);
}

void CursorTable::showRow(Row row, const QString& name, const vtl::CursorRowTexts& texts) {
    const auto q = [](const std::string& text) { return QString::fromStdString(text); };
    const QStringList cells = {name,        q(texts.a),  q(texts.b),
                               q(texts.dt), q(texts.dh), q(texts.climb)};
    auto& labels = m_cells[static_cast<size_t>(row) + 1];
    for (int c = 0; c < kColumns; ++c) {
        labels[static_cast<size_t>(c)]->setText(cells[c]);
    }
}

void CursorTable::clearRow(Row row) {
    for (QLabel* label : m_cells[static_cast<size_t>(row) + 1]) {
        label->clear();
    }
}

QString CursorTable::cell(int row, int column) const {
    return m_cells.at(static_cast<size_t>(row)).at(static_cast<size_t>(column))->text();
}
