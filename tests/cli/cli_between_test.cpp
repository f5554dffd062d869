// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_run.h"
#include "flight_synthesiser.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace cli_test;
using json = nlohmann::ordered_json;

namespace {

// A climb and a sink at 10 samples a second, and the same shape at 5 a second, shorter, as the
// comparison: its curve is drawn on the current flight's times.
class CliBetweenTest : public ::testing::Test {
protected:
    void SetUp() override {
        vtl::testing::FlightDescription flight;
        flight.samplingCode = 2;
        flight.altitudeCm.assign(5, 0);
        for (int i = 1; i <= 20; ++i) {
            flight.altitudeCm.push_back(i * 333);
        }
        for (int i = 1; i <= 15; ++i) {
            flight.altitudeCm.push_back(6660 - i * 211);
        }
        write(m_current = m_folder / "current.bin", flight);
        flight.samplingCode = 3;
        flight.altitudeCm.resize(18);
        write(m_comparison = m_folder / "comparison.bin", flight);
    }
    static void write(const fs::path& path, const vtl::testing::FlightDescription& flight) {
        const auto bytes = vtl::testing::synthesiseFlightImage(flight);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }

    json between(const std::string& times) const {
        const CliRun run = runCli("between " + m_current.string() + " " + times + " --comparison " +
                                  m_comparison.string());
        EXPECT_EQ(run.status, 0) << run.output;
        return json::parse(run.out);
    }

    // Each test its own folder: the tests of this file run side by side under ctest.
    vtl::testing::TemporaryFolder m_folder;
    fs::path m_current;
    fs::path m_comparison;
};

// What the cursors on samples a and b read on a curve as `curve` prints it, at 10 samples/s.
void expectReadings(const json& readings, const std::vector<long>& curveCm, size_t a, size_t b) {
    SCOPED_TRACE(readings.dump());
    EXPECT_DOUBLE_EQ(readings["t1"].get<double>(), a / 10.0);
    EXPECT_DOUBLE_EQ(readings["t2"].get<double>(), b / 10.0);
    EXPECT_DOUBLE_EQ(readings["dt"].get<double>(), (double(b) - double(a)) / 10.0);
    if (a >= curveCm.size() || b >= curveCm.size()) {
        EXPECT_EQ(readings["h1"].is_null(), a >= curveCm.size());
        EXPECT_EQ(readings["h2"].is_null(), b >= curveCm.size());
        EXPECT_TRUE(readings["dh"].is_null());
        EXPECT_TRUE(readings["climb"].is_null());
        return;
    }
    EXPECT_DOUBLE_EQ(readings["h1"].get<double>(), curveCm[a] / 100.0);
    const double dh = (curveCm[b] - curveCm[a]) / 100.0;
    EXPECT_DOUBLE_EQ(readings["h2"].get<double>(), curveCm[b] / 100.0);
    EXPECT_DOUBLE_EQ(readings["dh"].get<double>(), dh);
    if (a == b) {
        EXPECT_TRUE(readings["climb"].is_null());
    } else {
        EXPECT_NEAR(readings["climb"].get<double>(), dh / ((double(b) - double(a)) / 10.0), 1e-9);
    }
}

TEST_F(CliBetweenTest, ReadsTheDrawnCurvesAtTheNearestSamples) {
    const json curve = json::parse(
        runCli("curve " + m_current.string() + " --comparison " + m_comparison.string()).out);
    const auto own = curve["altitudeCm"].get<std::vector<long>>();
    const auto drawn = curve["comparisonCm"].get<std::vector<long>>();
    // The smoothing's start shortens the drawn curves: the comparison ends between the cursors.
    ASSERT_EQ(own.size(), 36u);
    ASSERT_GT(drawn.size(), 21u);
    ASSERT_LT(drawn.size(), 31u);

    // 0.55 s lies halfway between samples 5 and 6 and reads the earlier; 2.04 s reads sample 20.
    const json climb = between("0.55 2.04");
    expectReadings(climb, own, 5, 20);
    expectReadings(climb["comparison"], drawn, 5, 20);
    EXPECT_GT(climb["climb"].get<double>(), 0.0);

    // From the top down to the last sample, and the same read right to left: one sink. The
    // comparison has ended by then.
    const size_t top = static_cast<size_t>(std::max_element(own.begin(), own.end()) - own.begin());
    const std::string topTime = std::to_string(top / 10.0);
    const json down = between(topTime + " 3.5");
    expectReadings(down, own, top, 35);
    expectReadings(down["comparison"], drawn, top, 35);
    EXPECT_LT(down["climb"].get<double>(), 0.0);
    const json up = between("3.5 " + topTime);
    expectReadings(up, own, 35, top);
    EXPECT_EQ(up["climb"], down["climb"]);

    // Before the start and past the end the cursors stand on the first and the last sample.
    expectReadings(between("-5 120"), own, 0, 35);
    const json same = between("0.7 0.7");
    expectReadings(same, own, 7, 7);
    expectReadings(same["comparison"], drawn, 7, 7);
}

TEST_F(CliBetweenTest, KeysAndArguments) {
    const CliRun run = runCli("between " + m_current.string() + " 1 2");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.out.rfind("{\"t1\":1,\"h1\":", 0), 0u) << run.out;
    EXPECT_EQ(run.out.find("comparison"), std::string::npos) << run.out;
    const json readings = json::parse(run.out);
    std::vector<std::string> keys;
    for (const auto& item : readings.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"t1", "h1", "t2", "h2", "dt", "dh", "climb"}));

    EXPECT_EQ(runCli("between " + m_current.string() + " 1,5 2").status, 2);
    EXPECT_EQ(runCli("between " + m_current.string() + " 1 nan").status, 2);
    EXPECT_EQ(runCli("between " + m_current.string() + " 1").status, 2);
    EXPECT_EQ(runCli("between " + m_current.string() + " 1 2 3").status, 2);
}

} // namespace
