// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/output_title.h"

#include "core/shell/text_tables.h"

#include <algorithm>

namespace vtl {

std::vector<std::string> outputTitleLines(const FlightPanelTexts& panel, Language language) {
    const std::string first =
        "        " + caption(MainCaption::ReadFrom, language) + panel.origin + "    " +
        caption(MainCaption::CompetitorNumber, language) + ": " + panel.competitorNumber + "    " +
        caption(MainCaption::SerialNumber, language) + ": " + panel.serialNumber;
    const std::string third = "        Max: " + panel.maximum + " m    " + "Min: " + panel.minimum +
                              "m    " + "Temp: " + panel.temperature + "°C    " +
                              caption(MainCaption::Sampling, language) + ": " + panel.sampling;
    std::vector<std::string> lines{first, " ", third};
    if (!panel.figures.empty()) {
        lines.push_back("        " + panel.figures);
    }
    if (!panel.note.empty()) {
        std::string note = panel.note;
        // A title line is one line, however the note was typed.
        std::replace_if(
            note.begin(), note.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; },
            ' ');
        const FlightLogCaption word =
            panel.noteStale ? FlightLogCaption::NoteStaleTitle : FlightLogCaption::NoteLabel;
        lines.push_back("        " + caption(word, language) + " " + note);
    }
    return lines;
}

} // namespace vtl
