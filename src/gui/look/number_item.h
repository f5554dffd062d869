// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTableWidgetItem>
#include <QVariant>

// A table cell that shows a number as text and sorts by the number itself, so that "10" comes
// after "9" and an absent figure (given as minus infinity) below every number.
class NumberItem : public QTableWidgetItem {
public:
    static constexpr int kSortRole = Qt::UserRole + 1;

    NumberItem(const QString& text, double value) : QTableWidgetItem(text) {
        setData(kSortRole, value);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(kSortRole).toDouble() < other.data(kSortRole).toDouble();
    }
};
