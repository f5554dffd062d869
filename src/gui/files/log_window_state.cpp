// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/log_window_state.h"

#include <QSettings>
#include <QTableWidget>
#include <QVariant>

namespace {

const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kColumnsKey = QStringLiteral("window/columns");
constexpr int kNarrowestColumn = 20;
constexpr int kWidestColumn = 2000;

} // namespace

bool LogWindowState::restore(QWidget& window, QTableWidget& table) const {
    if (m_file.isEmpty()) {
        return false;
    }
    QSettings state(m_file, QSettings::IniFormat);
    window.restoreGeometry(state.value(kGeometryKey).toByteArray());
    const QList<QVariant> widths = state.value(kColumnsKey).toList();
    bool sized = false;
    for (int column = 0; column < table.columnCount() && column < widths.size(); ++column) {
        const int width = widths[column].toInt();
        if (width >= kNarrowestColumn && width <= kWidestColumn) {
            table.setColumnWidth(column, width);
            sized = true;
        }
    }
    return sized;
}

void LogWindowState::save(const QWidget& window, const QTableWidget& table) {
    if (m_file.isEmpty()) {
        return;
    }
    const QByteArray geometry = window.saveGeometry();
    QList<int> widths;
    for (int column = 0; column < table.columnCount(); ++column) {
        widths << table.columnWidth(column);
    }
    if (m_written && geometry == m_writtenGeometry && widths == m_writtenWidths) {
        return;
    }
    QSettings state(m_file, QSettings::IniFormat);
    state.setValue(kGeometryKey, geometry);
    QList<QVariant> stored;
    for (const int width : widths) {
        stored << width;
    }
    state.setValue(kColumnsKey, stored);
    m_written = true;
    m_writtenGeometry = geometry;
    m_writtenWidths = widths;
}
