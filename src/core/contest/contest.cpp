// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/contest.h"

#include "core/files/flight_archive.h"
#include "core/flight/flight_record.h"
#include "core/shell/atomic_file.h"
#include "core/shell/csv_field.h"
#include "core/shell/sha256.h"
#include "core/shell/utf8_path.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <system_error>

namespace vtl {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> readWholeFile(const fs::path& path) {
    return readContestFile(utf8String(path));
}

void writeWholeFile(const fs::path& path, const std::string& text) {
    int error = 0;
    if (!writeFileAtomically(utf8String(path), reinterpret_cast<const uint8_t*>(text.data()),
                             text.size(), &error)) {
        throw ContestError(Message::ContestWriteFailed, utf8String(path));
    }
}

std::string roundFolder(int round) {
    return "round-" + std::to_string(round);
}

std::string keptText(const std::tm& time) {
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.tm_year + 1900,
                  time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

// The source's name with "-2", "-3" ... before its extension.
std::string variantName(const std::string& name, int variant) {
    if (variant == 1) {
        return name;
    }
    const size_t dot = name.rfind('.');
    const std::string suffix = "-" + std::to_string(variant);
    return dot == std::string::npos || dot == 0 ? name + suffix
                                                : name.substr(0, dot) + suffix + name.substr(dot);
}

// Totals are compared for places: rounded to a thousandth, two sums of the same scores in
// another order are equal.
double roundedTotal(double total) {
    return std::round(total * 1000.0) / 1000.0;
}

std::string numberText(const std::optional<double>& value) {
    if (!value) {
        return std::string();
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", *value);
    return text;
}

} // namespace

const char* mismatchName(ContestMismatch::Kind kind) {
    switch (kind) {
    case ContestMismatch::Kind::ChangedFile:
        return "changed file";
    case ContestMismatch::Kind::MissingFile:
        return "missing file";
    case ContestMismatch::Kind::ExtraFile:
        return "extra file";
    case ContestMismatch::Kind::ScoreDiffers:
        return "score differs";
    }
    return "";
}

Contest::Contest(std::string folder, std::unique_ptr<ContestLock> lock)
    : m_folder(std::move(folder)), m_lock(std::move(lock)) {}

Contest Contest::create(const std::string& folder, ContestDocument document) {
    std::error_code error;
    fs::create_directories(utf8Path(folder), error);
    if (fs::exists(utf8Path(folder) / kContestFileName, error)) {
        throw ContestError(Message::ContestExists, folder);
    }
    int lockError = 0;
    std::unique_ptr<ContestLock> lock = ContestLock::take(folder, &lockError);
    if (!lock) {
        throw ContestError(lockError == 0 ? Message::ContestLocked : Message::ContestWriteFailed,
                           folder);
    }
    Contest contest(folder, std::move(lock));
    document.flights.clear();
    document.ruleVersion = kScoringRuleVersion;
    contest.m_document = std::move(document);
    contest.save();
    return contest;
}

Contest Contest::open(const std::string& folder, bool forWriting) {
    const fs::path base = utf8Path(folder);
    std::error_code error;
    if (!fs::is_regular_file(base / kContestFileName, error)) {
        throw ContestError(Message::ContestMissing, folder);
    }
    std::unique_ptr<ContestLock> lock;
    if (forWriting) {
        int lockError = 0;
        lock = ContestLock::take(folder, &lockError);
        if (!lock) {
            throw ContestError(
                lockError == 0 ? Message::ContestLocked : Message::ContestWriteFailed, folder);
        }
    }
    Contest contest(folder, std::move(lock));
    const std::string jsonPath = utf8String(base / kContestFileName);
    const std::optional<std::string> json = readWholeFile(base / kContestFileName);
    if (!json) {
        throw ContestError(Message::ContestDamaged, jsonPath);
    }
    contest.m_document = parseContestJson(*json, jsonPath);
    if (fs::exists(base / kCompetitorsFileName, error)) {
        const std::string csvPath = utf8String(base / kCompetitorsFileName);
        const std::optional<std::string> csv = readWholeFile(base / kCompetitorsFileName);
        if (!csv) {
            throw ContestError(Message::ContestDamaged, csvPath);
        }
        contest.m_competitors = parseCompetitorsCsv(*csv, csvPath);
    }
    return contest;
}

void Contest::save() {
    refreshFlags();
    const fs::path base = utf8Path(m_folder);
    writeWholeFile(base / kCompetitorsFileName, competitorsCsvText(m_competitors));
    writeWholeFile(base / kContestFileName, contestJsonText(m_document));
}

void Contest::refreshFlags() {
    std::set<int> registered;
    for (const Competitor& competitor : m_competitors) {
        registered.insert(competitor.number);
    }
    for (ContestFlight& flight : m_document.flights) {
        flight.unregistered = registered.count(flight.competitor) == 0;
        flight.secondFlight = false;
        if (flight.counted || flight.duplicate) {
            continue;
        }
        for (const ContestFlight& other : m_document.flights) {
            if (&other != &flight && other.counted && other.round == flight.round &&
                other.competitor == flight.competitor) {
                flight.secondFlight = true;
            }
        }
    }
}

void Contest::setCompetitors(std::vector<Competitor> competitors) {
    m_competitors = std::move(competitors);
    save();
}

ContestFlight Contest::addFlight(int round, const std::vector<uint8_t>& bytes,
                                 const std::string& sourceName, const std::tm& kept) {
    if (round < 1 || round > m_document.rounds) {
        throw ContestError(Message::ContestNoSuchRound, round);
    }
    const ContestFlightReading reading = readContestFlight(bytes);
    if (!reading.isFlight) {
        throw ContestError(Message::ContestNotAFlight,
                           sourceName.empty() ? std::string("-") : sourceName);
    }
    ContestFlight flight;
    flight.round = round;
    flight.competitor = reading.competitorNumber;
    flight.sha256 = Sha256::hexOf(bytes.data(), bytes.size());
    flight.kept = keptText(kept);
    flight.incomplete = !reading.hasEnd;
    flight.score = m_document.rule.score(reading.altitudeCm, reading.samplesPer10s,
                                         m_document.startThresholdM);
    // The same bytes again, in whichever round: noted, never kept or counted twice.
    for (const ContestFlight& other : m_document.flights) {
        if (other.sha256 == flight.sha256 && !other.duplicate) {
            flight.duplicate = true;
            flight.file = other.file;
            m_document.flights.push_back(flight);
            save();
            return m_document.flights.back();
        }
    }
    const fs::path folder = utf8Path(m_folder) / roundFolder(round);
    std::error_code error;
    fs::create_directories(folder, error);
    std::string name;
    for (int variant = 1;; ++variant) {
        name = sourceName.empty()
                   ? archiveFileName(kept, reading.serialNumber, reading.competitorNumber,
                                     reading.hasEnd ? ArchiveKind::Whole : ArchiveKind::Partial,
                                     variant)
                   : variantName(utf8String(utf8Path(sourceName).filename()), variant);
        if (!fs::exists(folder / utf8Path(name), error)) {
            break;
        }
    }
    const fs::path path = folder / utf8Path(name);
    int writeError = 0;
    if (!writeFileAtomically(utf8String(path), bytes.data(), bytes.size(), &writeError)) {
        throw ContestError(Message::ContestWriteFailed, utf8String(path));
    }
    flight.file = roundFolder(round) + "/" + name;
    const bool roundHasCounted =
        std::any_of(m_document.flights.begin(), m_document.flights.end(), [&](const auto& other) {
            return other.counted && other.round == round && other.competitor == flight.competitor;
        });
    // An incomplete flight and a second flight wait for the director's word.
    flight.counted = !flight.incomplete && !roundHasCounted;
    m_document.flights.push_back(flight);
    save();
    return m_document.flights.back();
}

void Contest::chooseFlight(int round, const std::string& file) {
    auto chosen = std::find_if(
        m_document.flights.begin(), m_document.flights.end(), [&](const ContestFlight& flight) {
            return flight.round == round && flight.file == file && !flight.duplicate;
        });
    if (chosen == m_document.flights.end()) {
        throw ContestError(Message::ContestNoSuchFlight, file);
    }
    for (ContestFlight& flight : m_document.flights) {
        if (flight.round == round && flight.competitor == chosen->competitor) {
            flight.counted = false;
        }
    }
    chosen->counted = true;
    save();
}

std::optional<double> Contest::scoreFile(const std::string& file, FlightRecord& record) const {
    const std::optional<std::string> bytes = readWholeFile(utf8Path(m_folder) / utf8Path(file));
    if (!bytes) {
        return std::nullopt;
    }
    const ContestFlightReading reading =
        readContestFlight(std::vector<uint8_t>(bytes->begin(), bytes->end()), record);
    if (!reading.isFlight) {
        return std::nullopt;
    }
    return m_document.rule.score(reading.altitudeCm, reading.samplesPer10s,
                                 m_document.startThresholdM);
}

void Contest::setRule(const ScoringRule& rule) {
    m_document.rule = rule;
    m_document.ruleVersion = kScoringRuleVersion;
    const auto record = std::make_unique<FlightRecord>();
    for (ContestFlight& flight : m_document.flights) {
        flight.score = scoreFile(flight.file, *record);
    }
    save();
}

std::string Contest::unregisteredName(int number) {
    return "nr " + std::to_string(number) + " (?)";
}

std::vector<CompetitorResult> Contest::results() const {
    std::map<int, CompetitorResult> byNumber;
    for (const Competitor& competitor : m_competitors) {
        CompetitorResult& result = byNumber[competitor.number];
        result.competitor = competitor;
    }
    for (const ContestFlight& flight : m_document.flights) {
        if (byNumber.count(flight.competitor) == 0) {
            CompetitorResult& result = byNumber[flight.competitor];
            result.competitor.number = flight.competitor;
            result.competitor.name = unregisteredName(flight.competitor);
            result.registered = false;
        }
    }
    std::vector<CompetitorResult> results;
    for (auto& [number, result] : byNumber) {
        result.scores.assign(static_cast<size_t>(m_document.rounds), std::nullopt);
        for (const ContestFlight& flight : m_document.flights) {
            if (flight.counted && flight.competitor == number) {
                result.scores[static_cast<size_t>(flight.round - 1)] = flight.score;
            }
        }
        std::vector<double> counted;
        for (const std::optional<double>& score : result.scores) {
            counted.push_back(score.value_or(0.0));
        }
        std::sort(counted.begin(), counted.end(), std::greater<double>());
        if (m_document.bestCount > 0 &&
            counted.size() > static_cast<size_t>(m_document.bestCount)) {
            counted.resize(static_cast<size_t>(m_document.bestCount));
        }
        double total = 0.0;
        for (const double score : counted) {
            total += score;
        }
        result.total = roundedTotal(total);
        results.push_back(result);
    }
    std::stable_sort(
        results.begin(), results.end(),
        [](const CompetitorResult& a, const CompetitorResult& b) { return a.total > b.total; });
    for (size_t i = 0; i < results.size(); ++i) {
        results[i].rank = i > 0 && results[i].total == results[i - 1].total
                              ? results[i - 1].rank
                              : static_cast<int>(i) + 1;
    }
    return results;
}

std::string Contest::resultsCsv() const {
    std::string csv = "competition,round,number,name,club,score,file,sha256\n";
    for (const CompetitorResult& result : results()) {
        for (int round = 1; round <= m_document.rounds; ++round) {
            const ContestFlight* counted = nullptr;
            for (const ContestFlight& flight : m_document.flights) {
                if (flight.counted && flight.round == round &&
                    flight.competitor == result.competitor.number) {
                    counted = &flight;
                }
            }
            csv += csvField(m_document.name) + ',' + std::to_string(round) + ',' +
                   std::to_string(result.competitor.number) + ',' +
                   csvField(result.competitor.name) + ',' + csvField(result.competitor.club) + ',' +
                   numberText(counted ? counted->score : std::nullopt) + ',' +
                   csvField(counted ? counted->file : std::string()) + ',' +
                   (counted ? counted->sha256 : std::string()) + '\n';
        }
    }
    return csv;
}

std::vector<ContestMismatch> Contest::verify() const {
    std::vector<ContestMismatch> mismatches;
    const fs::path base = utf8Path(m_folder);
    std::set<std::string> known;
    const auto record = std::make_unique<FlightRecord>();
    for (const ContestFlight& flight : m_document.flights) {
        if (flight.duplicate || !known.insert(flight.file).second) {
            continue;
        }
        const std::optional<std::string> bytes = readWholeFile(base / utf8Path(flight.file));
        if (!bytes) {
            mismatches.push_back(
                {ContestMismatch::Kind::MissingFile, flight.file, flight.score, std::nullopt});
            continue;
        }
        const std::vector<uint8_t> image(bytes->begin(), bytes->end());
        if (Sha256::hexOf(image.data(), image.size()) != flight.sha256) {
            mismatches.push_back(
                {ContestMismatch::Kind::ChangedFile, flight.file, flight.score, std::nullopt});
            continue;
        }
        const std::optional<double> computed = scoreFile(flight.file, *record);
        const bool same = computed.has_value() == flight.score.has_value() &&
                          (!computed || std::fabs(*computed - *flight.score) < 1e-6);
        if (!same) {
            mismatches.push_back(
                {ContestMismatch::Kind::ScoreDiffers, flight.file, flight.score, computed});
        }
    }
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(base, error)) {
        const std::string folderName = utf8String(entry.path().filename());
        if (!entry.is_directory(error) || folderName.rfind("round-", 0) != 0) {
            continue;
        }
        for (const auto& file : fs::directory_iterator(entry.path(), error)) {
            const std::string name = utf8String(file.path().filename());
            const std::string relative = folderName + "/" + name;
            if (known.count(relative) == 0) {
                mismatches.push_back(
                    {ContestMismatch::Kind::ExtraFile, relative, std::nullopt, std::nullopt});
            }
        }
    }
    return mismatches;
}

} // namespace vtl
