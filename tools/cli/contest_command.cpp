// SPDX-License-Identifier: GPL-3.0-or-later
#include "contest_command.h"

#include "json_output.h"

#include "core/contest/contest.h"
#include "core/files/measurement_file.h"
#include "core/shell/atomic_file.h"
#include "core/shell/local_time.h"
#include "core/shell/text_tables.h"
#include "core/shell/utf8_path.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace vtl::cli {

namespace {

using nlohmann::ordered_json;

// Error texts are the English ones, as the other commands print theirs.
constexpr Language kLanguage = Language::English;

int wholeNumber(const CommandLine& args, const std::string& name, int fallback, int lowest) {
    const std::optional<std::string> text = args.option(name);
    if (!text) {
        return fallback;
    }
    int value = 0;
    const char* end = text->data() + text->size();
    const auto result = std::from_chars(text->data(), end, value);
    if (text->empty() || result.ec != std::errc() || result.ptr != end || value < lowest) {
        throw UsageError(name + " needs a whole number of at least " + std::to_string(lowest) +
                         ", not '" + *text + "'");
    }
    return value;
}

// The contest's answers keep the library's text for numbers and strings (a score of 12 prints as
// 12.0, as the results' CSV writes it).
std::string answer(const ordered_json& out, const CommandLine& args) {
    return jsonText(out, requestedLayout(args), JsonScalars::Library);
}

ordered_json scoreJson(const std::optional<double>& score) {
    return score ? ordered_json(*score) : ordered_json(nullptr);
}

ordered_json flightJson(const ContestFlight& flight) {
    ordered_json flags = ordered_json::array();
    const std::pair<bool, const char*> named[] = {
        {flight.counted, "counted"},
        {flight.duplicate, "duplicate"},
        {flight.secondFlight, "second flight not counted"},
        {flight.unregistered, "unregistered"},
        {flight.incomplete, "incomplete"}};
    for (const auto& [set, name] : named) {
        if (set) {
            flags.push_back(name);
        }
    }
    ordered_json item;
    item["round"] = flight.round;
    item["competitor"] = flight.competitor;
    item["file"] = flight.file;
    item["sha256"] = flight.sha256;
    item["score"] = scoreJson(flight.score);
    item["flags"] = flags;
    return item;
}

std::string runNew(const CommandLine& args, const std::string& folder) {
    ContestDocument document;
    const std::optional<std::string> name = args.option("--name");
    if (!name || name->empty()) {
        throw UsageError("contest new needs --name NAME");
    }
    document.name = *name;
    if (const std::optional<std::string> rule = args.option("--rule")) {
        const std::optional<ScoringRule> parsed = ScoringRule::parse(*rule);
        if (!parsed) {
            throw UsageError(messageWith(Message::ContestBadRule, *rule, kLanguage));
        }
        document.rule = *parsed;
    }
    if (const std::optional<float> threshold = args.floatOption("--start-threshold")) {
        if (*threshold < 0.0f) {
            throw UsageError("--start-threshold needs metres of at least 0");
        }
        // Centimetres are what the curve is compared in.
        document.startThresholdM = std::round(static_cast<double>(*threshold) * 100.0) / 100.0;
    }
    document.rounds = wholeNumber(args, "--rounds", 1, 1);
    document.bestCount = wholeNumber(args, "--best", 0, 1);
    if (document.bestCount > document.rounds) {
        throw UsageError("--best cannot exceed --rounds");
    }
    const Contest contest = Contest::create(folder, document);
    ordered_json out;
    out["folder"] = folder;
    out["name"] = document.name;
    out["rule"] = document.rule.text();
    out["rounds"] = document.rounds;
    return answer(out, args);
}

std::string runCompetitors(const CommandLine& args, const std::string& folder) {
    const std::string file = args.positional(2, "FILE.csv");
    // The list is read whole before the contest is touched: a damaged one changes nothing.
    std::vector<Competitor> competitors = readCompetitorsFile(file);
    Contest contest = Contest::open(folder, true);
    contest.setCompetitors(std::move(competitors));
    ordered_json out;
    out["competitors"] = contest.competitors().size();
    return answer(out, args);
}

std::string runAdd(const CommandLine& args, const std::string& folder) {
    const std::string file = args.positional(2, "FLIGHT.bin");
    if (!args.option("--round")) {
        throw UsageError("contest add needs --round N");
    }
    const int round = wholeNumber(args, "--round", 1, 1);
    std::vector<uint8_t> bytes;
    MeasurementReadFailure failure = MeasurementReadFailure::None;
    if (!readMeasurementFile(file, bytes, &failure)) {
        throw CommandError(cannotReadMeasurementText(file, failure, kLanguage));
    }
    Contest contest = Contest::open(folder, true);
    const ContestFlight flight =
        contest.addFlight(round, bytes, utf8String(utf8Path(file).filename()), localTimeNow());
    return answer(flightJson(flight), args);
}

std::string runResults(const CommandLine& args, const std::string& folder,
                       const ResultsPdfWriter& writePdf) {
    const Contest contest = Contest::open(folder, false);
    ordered_json out;
    out["name"] = contest.document().name;
    out["rule"] = contest.document().rule.text();
    out["rounds"] = contest.document().rounds;
    ordered_json competitors = ordered_json::array();
    for (const CompetitorResult& result : contest.results()) {
        ordered_json line;
        line["number"] = result.competitor.number;
        line["name"] = result.competitor.name;
        line["club"] = result.competitor.club;
        ordered_json scores = ordered_json::array();
        for (const std::optional<double>& score : result.scores) {
            scores.push_back(scoreJson(score));
        }
        line["scores"] = scores;
        line["total"] = result.total;
        line["rank"] = result.rank;
        competitors.push_back(line);
    }
    out["competitors"] = competitors;
    if (const std::optional<std::string> csvPath = args.option("--csv")) {
        const std::string csv = contest.resultsCsv();
        int error = 0;
        if (!writeFileAtomically(*csvPath, reinterpret_cast<const uint8_t*>(csv.data()), csv.size(),
                                 &error)) {
            throw CommandError(messageWith(Message::ContestWriteFailed, *csvPath, kLanguage) +
                               ": " + systemReasonText(error, kLanguage));
        }
    }
    if (const std::optional<std::string> pdfPath = args.option("--pdf")) {
        if (!writePdf) {
            throw CommandError("--pdf needs the program's print path, which this build has not");
        }
        writePdf(args, contest, *pdfPath);
    }
    return answer(out, args);
}

std::string runVerify(const CommandLine& args, const std::string& folder) {
    const Contest contest = Contest::open(folder, false);
    const std::vector<ContestMismatch> found = contest.verify();
    ordered_json mismatches = ordered_json::array();
    for (const ContestMismatch& mismatch : found) {
        ordered_json item;
        item["kind"] = mismatchName(mismatch.kind);
        item["file"] = mismatch.file;
        if (mismatch.kind == ContestMismatch::Kind::ScoreDiffers) {
            item["kept"] = scoreJson(mismatch.keptScore);
            item["computed"] = scoreJson(mismatch.computedScore);
        }
        mismatches.push_back(item);
    }
    ordered_json out;
    out["ok"] = found.empty();
    out["flights"] = contest.document().flights.size();
    out["mismatches"] = mismatches;
    if (!found.empty()) {
        // The report is the answer all the same; the status says it found faults.
        std::printf("%s\n", out.dump().c_str());
        std::fflush(stdout);
        throw ToldFailure("verify found mismatches");
    }
    return answer(out, args);
}

} // namespace

std::string contestFlightJson(const ContestFlight& flight, const CommandLine& args) {
    return answer(flightJson(flight), args);
}

std::string runContest(const CommandLine& args, const ResultsPdfWriter& writePdf) {
    const std::string action = args.positional(0, "new|competitors|add|results|verify");
    const std::string folder = args.positional(1, "FOLDER");
    const size_t allowed = action == "competitors" || action == "add" ? 3 : 2;
    if (args.positionalCount() > allowed) {
        throw UsageError("unexpected argument '" + args.positional(allowed, "") + "'");
    }
    try {
        if (action == "new") {
            return runNew(args, folder);
        }
        if (action == "competitors") {
            return runCompetitors(args, folder);
        }
        if (action == "add") {
            return runAdd(args, folder);
        }
        if (action == "results") {
            return runResults(args, folder, writePdf);
        }
        if (action == "verify") {
            return runVerify(args, folder);
        }
    } catch (const ContestError& error) {
        throw CommandError(error.text(kLanguage));
    }
    throw UsageError("unknown contest command '" + action + "'");
}

} // namespace vtl::cli
