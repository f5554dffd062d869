// SPDX-License-Identifier: GPL-3.0-or-later
// A contest of 60 competitors in 7 rounds (420 flights made from the samples): opened and every
// score recomputed from the files, and one full-size flight kept after a download until the
// result card can show it.

#include "core/contest/contest.h"
#include "core/flight/flight_image.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kCompetitors = 60;
constexpr int kRounds = 7;

const char* const kSamples[] = {"hand_launch_spikes_10_per_s.bin", "power_model_20_per_s.bin",
                                "rubber_model_5_per_s.bin", "thermal_rubber_2_s_per_sample.bin",
                                "towed_glider_10_per_s.bin"};

std::vector<uint8_t> sample(const std::string& name) {
    std::ifstream in(fs::path(VTL_SAMPLES_FOLDER) / name, std::ios::binary);
    if (!in) {
        throw std::runtime_error("no sample " + name);
    }
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The sample as the competitor's logger would give it; the serial number tells the rounds'
// flights apart, or the same bytes in two rounds would be kept once as a duplicate.
std::vector<uint8_t> flightOf(const std::vector<uint8_t>& sample, int competitor, int serial) {
    std::vector<uint8_t> image = sample;
    vtl::image::writeWord(image.data(), vtl::image::kCompetitorNumber,
                          static_cast<uint16_t>(competitor));
    vtl::image::writeWord(image.data(), vtl::image::kSerialNumber, static_cast<uint16_t>(serial));
    return image;
}

std::tm keptAt(int round, int competitor) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 5;
    time.tm_mday = 14;
    time.tm_hour = 8 + round;
    time.tm_min = competitor % 60;
    return time;
}

// Every competitor's flight in every round but the last competitor's in the last round, which
// the download benchmark adds; `full` adds that one too.
fs::path makeContest(const std::string& name, bool full) {
    const fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    std::vector<std::vector<uint8_t>> samples;
    for (const char* file : kSamples) {
        samples.push_back(sample(file));
    }
    vtl::ContestDocument document;
    document.name = "Puchar Wiosny";
    document.rounds = kRounds;
    vtl::Contest contest = vtl::Contest::create(folder.string(), document);
    std::vector<vtl::Competitor> competitors;
    for (int number = 1; number <= kCompetitors; ++number) {
        competitors.push_back({number, "Zawodnik " + std::to_string(number), "Klub"});
    }
    contest.setCompetitors(competitors);
    for (int round = 1; round <= kRounds; ++round) {
        for (int number = 1; number <= kCompetitors; ++number) {
            if (!full && round == kRounds && number == kCompetitors) {
                continue;
            }
            const auto& bytes = samples[static_cast<size_t>(number + round) % samples.size()];
            contest.addFlight(round, flightOf(bytes, number, round), "", keptAt(round, number));
        }
    }
    return folder;
}

void openAndRecompute(benchmark::State& state) {
    static const fs::path folder = makeContest("vtl-contest-bench-full", true);
    const vtl::ScoringRule rule = *vtl::ScoringRule::parse("window:20");
    size_t flights = 0;
    size_t scored = 0;
    for (auto _ : state) {
        vtl::Contest contest = vtl::Contest::open(folder.string(), true);
        contest.setRule(rule);
        const std::vector<vtl::CompetitorResult> results = contest.results();
        benchmark::DoNotOptimize(results.data());
        flights = contest.document().flights.size();
        scored = 0;
        for (const vtl::CompetitorResult& result : results) {
            for (const std::optional<double>& score : result.scores) {
                scored += score.has_value() ? 1 : 0;
            }
        }
    }
    // A contest that kept some flights as duplicates, or could not score them, times less work.
    if (scored != kCompetitors * kRounds) {
        state.SkipWithError("not every flight of the contest was scored");
    }
    state.counters["flights"] = static_cast<double>(flights);
    state.counters["scored"] = static_cast<double>(scored);
}
BENCHMARK(openAndRecompute)->Unit(benchmark::kMillisecond);

// From the line's last byte to the card: the flight kept in the contest and the results made.
// Each iteration starts from a fresh copy of the 419-flight contest.
void downloadToCard(benchmark::State& state) {
    static const fs::path original = makeContest("vtl-contest-bench-419", false);
    const fs::path copy = fs::temp_directory_path() / "vtl-contest-bench-copy";
    const std::vector<uint8_t> downloaded =
        flightOf(sample("power_model_20_per_s.bin"), kCompetitors, 1000);
    size_t flights = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(copy);
        fs::copy(original, copy, fs::copy_options::recursive);
        auto contest = std::make_unique<vtl::Contest>(vtl::Contest::open(copy.string(), true));
        state.ResumeTiming();
        contest->addFlight(kRounds, downloaded, "", keptAt(kRounds, kCompetitors));
        benchmark::DoNotOptimize(contest->results());
        state.PauseTiming();
        flights = contest->document().flights.size();
        contest.reset();
        state.ResumeTiming();
    }
    state.counters["flights"] = static_cast<double>(flights);
}
BENCHMARK(downloadToCard)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
