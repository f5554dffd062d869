// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/contest/contest_files.h"
#include "core/contest/contest_lock.h"

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

struct FlightRecord;

// A competitor's line of the results: every round's counted score (nothing where the round has
// none), the total and the place, shared on equal totals (1, 2, 2, 4).
struct CompetitorResult {
    Competitor competitor; // an unregistered number is named "nr 42 (?)"
    bool registered = true;
    std::vector<std::optional<double>> scores;
    double total = 0.0;
    int rank = 0;
};

// What verifying found wrong with one file of the contest.
struct ContestMismatch {
    enum class Kind { ChangedFile, MissingFile, ExtraFile, ScoreDiffers };
    Kind kind = Kind::ChangedFile;
    std::string file;
    std::optional<double> keptScore;
    std::optional<double> computedScore;
};

const char* mismatchName(ContestMismatch::Kind kind);

// A contest folder: contest.json, competitors.csv and each round's flight files under round-N/.
// Opened for writing, it holds the folder's lock until it is destroyed; every change is written
// at once through the safe writer.
class Contest {
public:
    // Makes the contest in the folder (made when missing); a folder with a contest is refused.
    static Contest create(const std::string& folder, ContestDocument document);
    // Throws ContestError: no contest, a damaged file, the folder locked by another program.
    static Contest open(const std::string& folder, bool forWriting);

    const std::string& folder() const { return m_folder; }
    const ContestDocument& document() const { return m_document; }
    const std::vector<Competitor>& competitors() const { return m_competitors; }

    void setCompetitors(std::vector<Competitor> competitors);

    // Keeps the flight in the round. `sourceName` is the file's own name when it came from a
    // file; a download (empty name) is named as the archive names it, after `kept`. Returns the
    // flight's entry as noted.
    ContestFlight addFlight(int round, const std::vector<uint8_t>& bytes,
                            const std::string& sourceName, const std::tm& kept);
    // The director's choice: this flight counts for its competitor in its round, the others not.
    void chooseFlight(int round, const std::string& file);
    // Scores every flight anew from its file under the rule.
    void setRule(const ScoringRule& rule);

    std::vector<CompetitorResult> results() const;
    // One line per competitor and round: competition, round, number, name, club, score, file,
    // SHA-256; '.' decimals.
    std::string resultsCsv() const;
    // Every hash and score recomputed from the files, and the round folders' files listed.
    std::vector<ContestMismatch> verify() const;

    // "nr 42 (?)" for a number not in the list.
    static std::string unregisteredName(int number);

private:
    Contest(std::string folder, std::unique_ptr<ContestLock> lock);
    void refreshFlags();
    void save();
    // `record` is where the flight is decoded, reused from file to file.
    std::optional<double> scoreFile(const std::string& file, FlightRecord& record) const;

    std::string m_folder;
    std::unique_ptr<ContestLock> m_lock;
    ContestDocument m_document;
    std::vector<Competitor> m_competitors;
};

} // namespace vtl
