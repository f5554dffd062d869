// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/cursor_texts.h"

#include <QWidget>

#include <array>

class QLabel;

// The small table under the chart that says what the two cursors read: a heading row, then one
// row for the current flight and one for the comparison, each with its time and height at A and
// at B, and from A to B the time, the height and the mean climb.
class CursorTable : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 18;
    static constexpr int kHeight = 3 * kRowHeight + 2;
    enum Row { CurrentRow, ComparisonRow };
    static constexpr int kColumns = 6; // the row's name, A, B, dt, dh, climb

    explicit CursorTable(QWidget* parent = nullptr);

    // A row with its name and texts, or with none an empty row.
    void showRow(Row row, const QString& name, const vtl::CursorRowTexts& texts);
    void clearRow(Row row);
    // The text of a cell: row 0 is the heading, column 0 the rows' names.
    QString cell(int row, int column) const;

private:
    std::array<std::array<QLabel*, kColumns>, 3> m_cells{};
};
