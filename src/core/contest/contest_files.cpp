// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/contest_files.h"

#include "core/shell/csv_field.h"
#include "core/shell/utf8_path.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <set>

namespace vtl {

using nlohmann::ordered_json;

namespace {

const char* const kFormatKey = "format";
constexpr int kFormatVersion = 1;

std::string withNumbers(std::string text, int first, int second) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, text.c_str(), first, second);
    return buffer;
}

std::vector<std::string> flagNames(const ContestFlight& flight) {
    std::vector<std::string> names;
    if (flight.counted) {
        names.push_back("counted");
    }
    if (flight.duplicate) {
        names.push_back("duplicate");
    }
    if (flight.secondFlight) {
        names.push_back("second flight not counted");
    }
    if (flight.unregistered) {
        names.push_back("unregistered");
    }
    if (flight.incomplete) {
        names.push_back("incomplete");
    }
    return names;
}

ContestFlight flightOf(const ordered_json& item, int round) {
    ContestFlight flight;
    flight.round = round;
    flight.competitor = item.at("competitor").get<int>();
    flight.file = item.at("file").get<std::string>();
    flight.sha256 = item.at("sha256").get<std::string>();
    if (!item.at("score").is_null()) {
        flight.score = item.at("score").get<double>();
    }
    flight.kept = item.value("kept", std::string());
    for (const auto& flag : item.at("flags")) {
        const std::string name = flag.get<std::string>();
        flight.counted = flight.counted || name == "counted";
        flight.duplicate = flight.duplicate || name == "duplicate";
        flight.secondFlight = flight.secondFlight || name == "second flight not counted";
        flight.unregistered = flight.unregistered || name == "unregistered";
        flight.incomplete = flight.incomplete || name == "incomplete";
    }
    // A path out of the folder would let a edited file make the program read or write elsewhere.
    if (flight.file.empty() || flight.file[0] == '/' ||
        flight.file.find("..") != std::string::npos ||
        flight.file.find('\\') != std::string::npos || flight.file.find(':') != std::string::npos) {
        throw std::invalid_argument("file");
    }
    return flight;
}

} // namespace

ContestError::ContestError(Message which, std::string subject, int line, int column)
    : std::runtime_error(compose(which, subject, 0, line, column, Language::English)),
      m_which(which), m_subject(std::move(subject)), m_line(line), m_column(column) {}

ContestError::ContestError(Message which, int number)
    : std::runtime_error(compose(which, std::string(), number, 0, 0, Language::English)),
      m_which(which), m_number(number) {}

std::string ContestError::compose(Message which, const std::string& subject, int number, int line,
                                  int column, Language language) {
    std::string out = which == Message::ContestNoSuchRound
                          ? withNumbers(message(which, language), number, 0)
                          : messageWith(which, subject, language);
    if (line > 0) {
        out += withNumbers(message(Message::ContestLineColumn, language), line, column);
    }
    return out;
}

std::string ContestError::text(Language language) const {
    return compose(m_which, m_subject, m_number, m_line, m_column, language);
}

std::pair<int, int> lineAndColumn(const std::string& text, size_t offset) {
    int line = 1;
    int column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xc0) != 0x80) {
            // UTF-8 continuation bytes belong to the character before them.
            ++column;
        }
    }
    return {line, column};
}

std::string contestJsonText(const ContestDocument& document) {
    ordered_json root;
    root[kFormatKey] = kFormatVersion;
    root["name"] = document.name;
    root["date"] = document.date;
    root["place"] = document.place;
    root["class"] = document.className;
    root["rule"] = {{"text", document.rule.text()}, {"version", document.ruleVersion}};
    root["startThresholdM"] = document.startThresholdM;
    root["roundCount"] = document.rounds;
    if (document.bestCount > 0) {
        root["total"] = {{"kind", "best"}, {"count", document.bestCount}};
    } else {
        root["total"] = {{"kind", "sum"}};
    }
    ordered_json rounds = ordered_json::array();
    for (int round = 1; round <= document.rounds; ++round) {
        ordered_json flights = ordered_json::array();
        for (const ContestFlight& flight : document.flights) {
            if (flight.round != round) {
                continue;
            }
            ordered_json item;
            item["competitor"] = flight.competitor;
            item["file"] = flight.file;
            item["sha256"] = flight.sha256;
            item["score"] = flight.score ? ordered_json(*flight.score) : ordered_json(nullptr);
            item["flags"] = flagNames(flight);
            item["kept"] = flight.kept;
            flights.push_back(item);
        }
        rounds.push_back({{"round", round}, {"flights", flights}});
    }
    root["rounds"] = rounds;
    return root.dump(2) + '\n';
}

ContestDocument parseContestJson(const std::string& text, const std::string& fileName) {
    ordered_json root;
    try {
        root = ordered_json::parse(text);
    } catch (const ordered_json::parse_error& error) {
        // The byte is the count of bytes read when the fault showed: the one at fault is the last.
        const size_t at = error.byte > 0 ? error.byte - 1 : 0;
        const auto [line, column] = lineAndColumn(text, at);
        throw ContestError(Message::ContestDamaged, fileName, line, column);
    }
    try {
        ContestDocument document;
        if (root.at(kFormatKey).get<int>() != kFormatVersion) {
            throw std::invalid_argument(kFormatKey);
        }
        document.name = root.at("name").get<std::string>();
        document.date = root.value("date", std::string());
        document.place = root.value("place", std::string());
        document.className = root.value("class", std::string());
        const std::optional<ScoringRule> rule =
            ScoringRule::parse(root.at("rule").at("text").get<std::string>());
        if (!rule) {
            throw std::invalid_argument("rule");
        }
        document.rule = *rule;
        document.ruleVersion = root.at("rule").at("version").get<int>();
        document.startThresholdM = root.value("startThresholdM", 1.0);
        document.rounds = root.at("roundCount").get<int>();
        const std::string total = root.at("total").at("kind").get<std::string>();
        if (total == "best") {
            document.bestCount = root.at("total").at("count").get<int>();
        } else if (total != "sum") {
            throw std::invalid_argument("total");
        }
        if (document.rounds < 1 || document.bestCount < 0) {
            throw std::invalid_argument("roundCount");
        }
        for (const auto& round : root.at("rounds")) {
            const int number = round.at("round").get<int>();
            if (number < 1 || number > document.rounds) {
                throw std::invalid_argument("round");
            }
            for (const auto& item : round.at("flights")) {
                document.flights.push_back(flightOf(item, number));
            }
        }
        return document;
    } catch (const std::exception&) {
        // Well-formed JSON that is not a contest: no position to point at.
        throw ContestError(Message::ContestDamaged, fileName);
    }
}

std::optional<std::string> readContestFile(const std::string& path) {
    std::FILE* file = openUtf8File(path, "rb");
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return std::nullopt;
    }
    return bytes;
}

std::vector<Competitor> readCompetitorsFile(const std::string& path) {
    const std::optional<std::string> text = readContestFile(path);
    if (!text) {
        throw ContestError(Message::ContestDamaged, path);
    }
    return parseCompetitorsCsv(*text, path);
}

std::string competitorsCsvText(const std::vector<Competitor>& competitors) {
    std::string text = "number,name,club\n";
    for (const Competitor& competitor : competitors) {
        text += std::to_string(competitor.number) + ',' + csvField(competitor.name) + ',' +
                csvField(competitor.club) + '\n';
    }
    return text;
}

std::vector<Competitor> parseCompetitorsCsv(const std::string& text, const std::string& fileName) {
    size_t i = 0;
    // A spreadsheet's UTF-8 mark is no part of the header.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        i = 3;
    }
    const auto fail = [&](size_t at) {
        const auto [line, column] = lineAndColumn(text, at);
        throw ContestError(Message::ContestDamaged, fileName, line, column);
    };
    std::vector<std::vector<std::string>> records;
    std::vector<size_t> recordStarts;
    while (i < text.size()) {
        std::vector<std::string> fields;
        recordStarts.push_back(i);
        while (true) {
            std::string field;
            if (i < text.size() && text[i] == '"') {
                ++i;
                while (true) {
                    if (i >= text.size()) {
                        fail(text.size());
                    }
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    field += text[i++];
                }
                if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    fail(i);
                }
            } else {
                while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    if (text[i] == '"') {
                        fail(i);
                    }
                    field += text[i++];
                }
            }
            fields.push_back(field);
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        if (i < text.size() && text[i] == '\r') {
            ++i;
        }
        if (i < text.size() && text[i] == '\n') {
            ++i;
        }
        records.push_back(fields);
    }
    if (records.empty() || records[0] != std::vector<std::string>{"number", "name", "club"}) {
        fail(recordStarts.empty() ? 0 : recordStarts[0]);
    }
    std::vector<Competitor> competitors;
    std::set<int> numbers;
    for (size_t r = 1; r < records.size(); ++r) {
        const std::vector<std::string>& fields = records[r];
        // A blank line (one empty field) is no competitor.
        if (fields.size() == 1 && fields[0].empty()) {
            continue;
        }
        if (fields.size() != 3) {
            fail(recordStarts[r]);
        }
        Competitor competitor;
        const std::string& number = fields[0];
        if (number.empty() || number.size() > 5 ||
            number.find_first_not_of("0123456789") != std::string::npos) {
            fail(recordStarts[r]);
        }
        competitor.number = std::stoi(number);
        // The recorder keeps the number in 16 bits.
        if (competitor.number > 65535 || !numbers.insert(competitor.number).second) {
            fail(recordStarts[r]);
        }
        competitor.name = fields[1];
        competitor.club = fields[2];
        competitors.push_back(competitor);
    }
    return competitors;
}

} // namespace vtl
