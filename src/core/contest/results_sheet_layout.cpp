// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/results_sheet_layout.h"

#include "core/contest/contest_texts.h"
#include "core/files/flight_log.h"
#include "core/shell/text_tables.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace vtl {
namespace {

enum class SheetText {
    Date,
    Place,
    Class,
    Rule,
    RuleMaximum,
    RuleWindow,
    RuleAt,
    RuleDuration,
    StartThreshold,
    SumOfAll,
    SumOfBest,
    ClubColumn,
    Unregistered,
    Page,
    Count
};

// "%1" stands for a number.
constexpr std::array<TextPair, static_cast<size_t>(SheetText::Count)> kSheetTexts = {{
    {"Data: ", "Date: "},
    {"Miejsce: ", "Place: "},
    {"Klasa: ", "Class: "},
    {"Reguła: ", "Rule: "},
    {"najwyższy punkt lotu", "the flight's highest point"},
    {"najwyższy punkt w %1 s od startu", "the highest point within %1 s from the start"},
    {"wysokość %1 s po starcie", "the altitude %1 s after the start"},
    {"czas lotu, najwyżej %1 s", "the flight time, at most %1 s"},
    {"próg startu %1 m", "start threshold %1 m"},
    {"suma wszystkich kolejek", "sum of all rounds"},
    {"suma %1 najlepszych kolejek", "sum of the best %1 rounds"},
    {"Klub", "Club"},
    {"(?) – numer spoza listy zawodników", "(?) – a number not on the competitors' list"},
    {"Strona %1 / %2", "Page %1 / %2"},
}};

std::string text(SheetText which, Language language) {
    return kSheetTexts[static_cast<size_t>(which)].in(language);
}

std::string replaced(std::string pattern, const std::string& marker, const std::string& value) {
    const size_t at = pattern.find(marker);
    return at == std::string::npos ? pattern : pattern.replace(at, marker.size(), value);
}

char separatorOf(Language language) {
    return language == Language::Polish ? ',' : '.';
}

// Seconds as the rule was given (20, 2.5), with the language's separator.
std::string secondsText(double seconds, Language language) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == '.') {
            c = separatorOf(language);
        }
    }
    return text;
}

} // namespace

std::string ResultsSheetLayout::ruleText(const ContestDocument& document, Language language) {
    const ScoringRule& rule = document.rule;
    const std::string seconds = secondsText(rule.seconds(), language);
    std::string words;
    switch (rule.kind()) {
    case ScoringRule::Kind::Maximum:
        words = text(SheetText::RuleMaximum, language);
        break;
    case ScoringRule::Kind::Window:
        words = replaced(text(SheetText::RuleWindow, language), "%1", seconds);
        break;
    case ScoringRule::Kind::At:
        words = replaced(text(SheetText::RuleAt, language), "%1", seconds);
        break;
    case ScoringRule::Kind::Duration:
        words = replaced(text(SheetText::RuleDuration, language), "%1", seconds);
        break;
    }
    const std::string threshold =
        replaced(text(SheetText::StartThreshold, language), "%1",
                 figureText(document.startThresholdM, 1, separatorOf(language)));
    const std::string total = document.bestCount > 0 && document.bestCount < document.rounds
                                  ? replaced(text(SheetText::SumOfBest, language), "%1",
                                             std::to_string(document.bestCount))
                                  : text(SheetText::SumOfAll, language);
    return text(SheetText::Rule, language) + words + " (" + rule.text() + "); " + threshold + "; " +
           total;
}

ResultsSheetLayout::ResultsSheetLayout(const Contest& contest, Language language)
    : m_language(language) {
    const ContestDocument& document = contest.document();
    m_heading.push_back(document.name);
    std::string details;
    const std::pair<SheetText, const std::string*> fields[] = {
        {SheetText::Date, &document.date},
        {SheetText::Place, &document.place},
        {SheetText::Class, &document.className}};
    for (const auto& [label, value] : fields) {
        if (!value->empty()) {
            details += (details.empty() ? "" : " · ") + text(label, language) + *value;
        }
    }
    if (!details.empty()) {
        m_heading.push_back(details);
    }
    m_heading.push_back(ruleText(document, language));

    using Align = ResultsSheetLayout::Align;
    m_columns = {caption(ContestCaption::RankColumn, language),
                 caption(ContestCaption::NumberColumn, language),
                 caption(ContestCaption::NameColumn, language),
                 text(SheetText::ClubColumn, language)};
    m_alignment = {Align::Right, Align::Right, Align::Left, Align::Left};
    for (int round = 1; round <= document.rounds; ++round) {
        m_columns.push_back(caption(ContestCaption::RoundColumn, language) + ' ' +
                            std::to_string(round));
        m_alignment.push_back(Align::Right);
    }
    m_columns.push_back(caption(ContestCaption::TotalColumn, language));
    m_alignment.push_back(Align::Right);

    const int decimals = contestScoreDecimals(document.rule.kind());
    const char separator = separatorOf(language);
    bool unregistered = false;
    for (const CompetitorResult& result : contest.results()) {
        std::vector<std::string> row = {std::to_string(result.rank),
                                        std::to_string(result.competitor.number),
                                        result.competitor.name, result.competitor.club};
        for (const std::optional<double>& score : result.scores) {
            row.push_back(score ? figureText(score, decimals, separator) : "–");
        }
        row.push_back(figureText(result.total, decimals, separator));
        m_rows.push_back(std::move(row));
        unregistered = unregistered || !result.registered;
    }
    if (unregistered) {
        m_notes.push_back(text(SheetText::Unregistered, language));
    }
}

size_t ResultsSheetLayout::pageCount(size_t rowsPerPage) const {
    const size_t perPage = rowsPerPage == 0 ? 1 : rowsPerPage;
    return m_rows.empty() ? 1 : (m_rows.size() + perPage - 1) / perPage;
}

std::pair<size_t, size_t> ResultsSheetLayout::pageRows(size_t page, size_t rowsPerPage) const {
    const size_t perPage = rowsPerPage == 0 ? 1 : rowsPerPage;
    const size_t first = std::min(page * perPage, m_rows.size());
    return {first, std::min(first + perPage, m_rows.size())};
}

std::string ResultsSheetLayout::pageFooter(size_t page, size_t count) const {
    return replaced(replaced(text(SheetText::Page, m_language), "%1", std::to_string(page + 1)),
                    "%2", std::to_string(count));
}

} // namespace vtl
