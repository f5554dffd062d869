// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/contest/scoring_rule.h"
#include "core/shell/language.h"
#include "core/shell/text_tables.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vtl {

constexpr const char* kContestFileName = "contest.json";
constexpr const char* kCompetitorsFileName = "competitors.csv";

// Why a contest could not be opened or changed, in either language. A damaged file carries the
// line and the column at fault (from 1; 0 when unknown).
class ContestError : public std::runtime_error {
public:
    ContestError(Message which, std::string subject, int line = 0, int column = 0);
    // A message with a number (the round) in place of the subject.
    ContestError(Message which, int number);

    std::string text(Language language) const;
    Message which() const { return m_which; }
    int line() const { return m_line; }
    int column() const { return m_column; }

private:
    static std::string compose(Message which, const std::string& subject, int number, int line,
                               int column, Language language);

    Message m_which;
    std::string m_subject;
    int m_number = 0;
    int m_line = 0;
    int m_column = 0;
};

struct Competitor {
    int number = 0;
    std::string name;
    std::string club;
};

// One flight a round holds. A flight downloaded twice is noted again as a duplicate of the
// first one's file; a second, different flight of a competitor in a round is kept uncounted
// until the director chooses it.
struct ContestFlight {
    int round = 1;
    int competitor = 0;
    std::string file; // relative to the contest folder, '/' between names
    std::string sha256;
    std::optional<double> score;
    bool counted = false;
    bool duplicate = false;
    bool incomplete = false;   // the recorder did not end the flight
    bool unregistered = false; // the number is not in the competitors' list
    bool secondFlight = false; // another flight of the competitor in the round is the counted one
    std::string kept;          // local time, "2026-06-14 10:35:12"
};

struct ContestDocument {
    std::string name;
    std::string date;
    std::string place;
    std::string className;
    ScoringRule rule;
    int ruleVersion = kScoringRuleVersion;
    double startThresholdM = 1.0;
    int rounds = 1;
    int bestCount = 0; // the total of the best this many rounds; 0 sums every round
    std::vector<ContestFlight> flights;
};

// contest.json: pretty-printed UTF-8; flights listed round by round.
std::string contestJsonText(const ContestDocument& document);
// Throws ContestError (ContestDamaged, with line and column where the text is no JSON).
ContestDocument parseContestJson(const std::string& text, const std::string& fileName);

// competitors.csv: "number,name,club", fields quoted as RFC 4180 wants where needed.
std::string competitorsCsvText(const std::vector<Competitor>& competitors);
// Throws ContestError at the first line that is not a competitor (or a number given twice).
std::vector<Competitor> parseCompetitorsCsv(const std::string& text, const std::string& fileName);

// A competitors' list from a file the user chose; throws ContestError as above.
std::vector<Competitor> readCompetitorsFile(const std::string& path);

// The whole file's bytes, nothing when it cannot be read.
std::optional<std::string> readContestFile(const std::string& path);

// Line and column (from 1, the column counted in characters) of the byte at the offset.
std::pair<int, int> lineAndColumn(const std::string& text, size_t offset);

} // namespace vtl
