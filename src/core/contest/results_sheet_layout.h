// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/contest/contest.h"
#include "core/shell/language.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vtl {

// The printed results sheet as text, before anything is painted: the heading lines, the table
// (competitors by rank, a column per round, the total) and its pages. Numbers carry the language's
// decimal separator; the sheet's painter only places these texts.
class ResultsSheetLayout {
public:
    // Left for names and clubs, right for numbers.
    enum class Align { Left, Right };

    ResultsSheetLayout(const Contest& contest, Language language);

    // The contest's name first, then its date, place and class, then the rule in words.
    const std::vector<std::string>& heading() const { return m_heading; }
    const std::vector<std::string>& columns() const { return m_columns; }
    const std::vector<Align>& alignment() const { return m_alignment; }
    // One row a competitor, in the order of the ranks; the cells follow columns().
    const std::vector<std::vector<std::string>>& rows() const { return m_rows; }
    // Under the table on the last page: what the "(?)" of an unregistered number means.
    const std::vector<std::string>& notes() const { return m_notes; }

    // How many pages the table takes with this many rows a page (one page at least).
    size_t pageCount(size_t rowsPerPage) const;
    // The first row of the page (from 0) and one past its last.
    std::pair<size_t, size_t> pageRows(size_t page, size_t rowsPerPage) const;
    // "Strona 1 / 3" or "Page 1 / 3", counted from 1.
    std::string pageFooter(size_t page, size_t count) const;

    // "Reguła: najwyższy punkt w 20 s od startu (window:20); próg startu 1,0 m; suma 3
    // najlepszych kolejek", or its English.
    static std::string ruleText(const ContestDocument& document, Language language);

private:
    Language m_language;
    std::vector<std::string> m_heading;
    std::vector<std::string> m_columns;
    std::vector<Align> m_alignment;
    std::vector<std::vector<std::string>> m_rows;
    std::vector<std::string> m_notes;
};

} // namespace vtl
