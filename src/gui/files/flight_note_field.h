// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <QWidget>

#include <string>

class FlightLogWindow;
class QLabel;
class QLineEdit;

namespace vtl {
class Prompter;
}

// The one-line note of the current flight under the chart. A flight that came from a file (a
// downloaded one is kept in the archive) has its note kept beside the file; a flight with no file
// has none, and the field is disabled with a hint. Finishing the edit (Enter, or leaving the
// field) writes the note; a failure is told through the prompter and the stored note comes back.
class FlightNoteField : public QWidget {
    Q_OBJECT
public:
    FlightNoteField(vtl::Prompter& prompter, const vtl::Language& language,
                    QWidget* parent = nullptr);

    // The current flight came from this file (empty: from no file); its note is read.
    void setFlightFile(const std::string& path);
    const std::string& flightFile() const { return m_file; }
    // Reads the note again when it was written for this file elsewhere.
    void rereadFor(const std::string& flightPath);
    // Notes written in the log show here, and notes written here show in the log.
    void followLog(FlightLogWindow& log);
    void applyLanguage();

    const std::string& note() const { return m_note; }
    bool noteStale() const { return m_stale; }
    QLineEdit* editor() const { return m_editor; }

signals:
    void noteWritten(const std::string& flightPath);

private:
    void read();
    void write();
    void showStored();

    vtl::Prompter& m_prompter;
    const vtl::Language& m_language;
    std::string m_file;
    std::string m_note;
    bool m_stale = false;
    std::string m_readError; // why the folder's notes could not be read, or empty
    QLabel* m_label = nullptr;
    QLineEdit* m_editor = nullptr;
};
