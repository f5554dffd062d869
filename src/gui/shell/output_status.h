// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/text_tables.h"

#include <cstdint>
#include <optional>
#include <string>

class QLabel;

// The status line under the chart: where the last print, picture or export went, that the file
// just opened is incomplete, or what became of the flights an interrupted save left behind. It
// keeps what happened rather than the text, so that a language switch says it again in the new
// language.
class OutputStatus {
public:
    OutputStatus(QLabel& line, const vtl::Language& language);

    // What was written (one of the status messages) and the printer's name or the file's path, put
    // where the message has its "%s", else after it.
    void show(vtl::Message what, const std::string& name);
    void clear();
    // Clears the line only when it says `what`, so that a notice that no longer holds goes while
    // the report of a print or an export stays.
    void withdraw(vtl::Message what);
    void applyLanguage();

private:
    QLabel& m_line;
    const vtl::Language& m_language;
    std::optional<vtl::Message> m_what;
    std::string m_name;
};
