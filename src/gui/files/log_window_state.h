// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

class QTableWidget;
class QWidget;

// The flight log window's size and column widths, in a file of their own beside the settings
// (none with an empty name). What was last written is remembered and not written again: closing
// the program closes the window, which saves, and then destroys it, and a second write of the
// same would hold up the program's end by another sync to disk.
class LogWindowState {
public:
    explicit LogWindowState(QString file) : m_file(std::move(file)) {}

    // Gives the window its size and the table its column widths from the file; true when a
    // column took a width from it. Widths a hand-edited file makes absurd are left alone.
    bool restore(QWidget& window, QTableWidget& table) const;
    void save(const QWidget& window, const QTableWidget& table);

private:
    QString m_file;
    bool m_written = false;
    QByteArray m_writtenGeometry;
    QList<int> m_writtenWidths;
};
