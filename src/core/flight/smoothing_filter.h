// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"
#include "core/shell/program_settings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

// The four user parameters of the filter, as ProgramSettings keeps them.
struct FilterParameters {
    int32_t preCutCm = 350;
    int32_t finalCutCm = 250;
    int32_t preFilterLength = 8;
    int32_t finalFilterLength = 12;
};

FilterParameters filterParametersFrom(const ProgramSettings& settings);

// What a filter run shows for one flight: the filtered curve in place of the plotted one, the
// unfiltered curve beside it, and maximum and minimum of the filtered curve.
struct FilterResult {
    std::vector<int32_t> filteredCm;
    std::vector<int32_t> unfilteredCm;
    int32_t maximumCm = 0;
    int32_t minimumCm = 5000;
    std::string maxText; // metres with one decimal
    std::string minText;
};

// Removes isolated spikes and jumps from an altitude curve: samples that stray too far from a
// robust trend (a coarse clean-up, then two moving averages) are replaced by a straight line
// between their accepted neighbours, and the trend is rebuilt from the cleaned curve nine times.
//
// The working set is one input, work, first-pass and trend curve of kCapacity slots each, every
// curve ending with kEndMarker. The passes run over the curve length fixed when the curve was
// taken in, so nothing is read past the end marker whatever the values and parameters.
class SmoothingFilter {
public:
    static constexpr size_t kCapacity = FlightRecord::kSeriesCapacity;
    static constexpr size_t kMaximumLength = kCapacity - 1; // the end marker must fit

    SmoothingFilter();

    // Takes a curve up to its first end marker, or its first kMaximumLength samples, into the
    // input curve and the work curve.
    void takeCurve(const int32_t* altitudeCm, size_t capacity);
    void takeCurve(const std::vector<int32_t>& samples);

    // The whole filter over the input curve; the result is work().
    void runFilter(const FilterParameters& parameters);

    // Work curve to first-pass curve: from index `length` on, the average of the samples from
    // `length` back to R(length) - 1 ahead, R(L) = L + L/2 - L/5. Lengths below 1 act as 1.
    void smoothPass1(int32_t length);
    // First-pass curve to trend: a moving average whose window grows from index 42 on.
    void smoothPass2(int32_t length);
    // Cleans the work curve in place with a per-sample tolerance of c cm.
    void coarseCut(int32_t c);
    // Restarts the work curve from the input curve and cleans it against the trend with a
    // tolerance of t cm (64 bits: the first run takes twice the final cut-off).
    void fineCut(int64_t t);

    size_t length() const { return m_length; }
    const int32_t* input() const { return m_input.data(); }
    const int32_t* work() const { return m_work.data(); }
    const int32_t* pass1() const { return m_pass1.data(); }
    const int32_t* trend() const { return m_trend.data(); }

private:
    // Output slots from index `from` on: the average of the input over [i - back, i + forward - 1]
    // clipped to the curve, with back and forward given per index by the caller's schedule.
    template <typename Window>
    void average(const std::vector<int32_t>& in, std::vector<int32_t>& out, size_t from,
                 Window window);
    void copyHead(const std::vector<int32_t>& in, std::vector<int32_t>& out, size_t slots) const;

    size_t m_length = 0;
    std::vector<int32_t> m_input;
    std::vector<int32_t> m_work;
    std::vector<int32_t> m_pass1;
    std::vector<int32_t> m_trend;
    std::vector<int64_t> m_prefix; // running sums for the moving averages
};

// Filters a curve that ends with kEndMarker (read no further than capacity slots).
FilterResult filterCurve(SmoothingFilter& filter, const int32_t* altitudeCm, size_t capacity,
                         const FilterParameters& parameters, char decimalSeparator = '.');
FilterResult filterCurve(const int32_t* altitudeCm, size_t capacity,
                         const FilterParameters& parameters, char decimalSeparator = '.');

// A flight is filtered only when it holds at least this many words of samples.
constexpr uint32_t kFilterMinimumWords = 32;
inline bool canFilter(const FlightRecord& record) {
    return record.wordCount >= kFilterMinimumWords;
}

// The whole seconds shown under point k of the filtered current flight, or -1 between them.
int32_t filterLabelSeconds(uint32_t k, uint32_t samplesPer10s);

} // namespace vtl
