// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/smoothing_filter.h"

#include "core/flight/decimal_text.h"
#include "core/flight/wrapping_arithmetic.h"

#include <algorithm>
#include <optional>
#include <utility>

// Curve values, their differences, bridge steps and moving sums are 32-bit and wrap. The
// tolerances, allowances and slope sums that decide whether a sample is accepted are held in 64
// bits: the clean-ups raise them on every restart until the anchor's neighbour is accepted, and in
// 32 bits they would wrap round before that on a wild enough curve and never end.
namespace vtl {
namespace {

constexpr size_t kCopiedHead = 100;
constexpr size_t kGrowingWindowStart = 42;
constexpr size_t kCoarseCandidates = 21;
constexpr int64_t kCoarseRaise = 30;
constexpr size_t kFineCandidates = 46;
constexpr int kFineRounds = 8;

// Forward reach of a moving average of the given length: its window ends R - 1 samples ahead.
int64_t reachOf(int64_t length) {
    return length + length / 2 - length / 5;
}

// Lengths below 1 would give empty windows; they act as 1.
size_t effectiveLength(int32_t length) {
    return static_cast<size_t>(std::max(length, 1));
}

int64_t magnitude(int64_t value) {
    return value < 0 ? -value : value;
}

int32_t difference32(int32_t later, int32_t earlier) {
    return wrap32(int64_t{later} - earlier);
}

int64_t floorDivide(int64_t dividend, int64_t divisor) {
    const int64_t quotient = dividend / divisor;
    return (dividend % divisor != 0 && (dividend < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

int64_t ceilDivide(int64_t dividend, int64_t divisor) {
    return -floorDivide(-dividend, divisor);
}

// The least r >= 0 with factor * r >= bound, if there is one.
std::optional<int64_t> leastSolution(int64_t factor, int64_t bound) {
    if (factor <= 0) {
        return bound <= 0 ? std::optional<int64_t>(0) : std::nullopt;
    }
    return std::max<int64_t>(0, ceilDivide(bound, factor));
}

// Replaces the samples after the anchor up to the accepted one by a straight line, stepping from
// each replaced sample to the next.
void bridgeByStep(int32_t* work, size_t anchor, size_t accepted, int32_t difference) {
    const int32_t step = divide32(difference, static_cast<int32_t>(accepted - anchor));
    for (size_t m = anchor + 1; m <= accepted; ++m) {
        work[m] = wrap32(int64_t{work[m - 1]} + step);
    }
}

// The same line in tenths of a centimetre, measured from the anchor.
void bridgeInTenths(int32_t* work, size_t anchor, size_t accepted) {
    const int32_t difference = difference32(work[accepted], work[anchor]);
    const int32_t step10 =
        divide32(wrap32(int64_t{10} * difference), static_cast<int32_t>(accepted - anchor));
    const int32_t base = work[anchor];
    int32_t product = 0;
    for (size_t m = anchor + 1; m <= accepted; ++m) {
        product = wrap32(int64_t{product} + step10);
        work[m] = wrap32(int64_t{base} + product / 10);
    }
}

int32_t slopeStep(const int32_t* trend, size_t i) {
    return wrap32(int64_t{5} * difference32(trend[i + 1], trend[i - 1]));
}

} // namespace

FilterParameters filterParametersFrom(const ProgramSettings& settings) {
    return {settings.preCutCm, settings.finalCutCm, settings.preFilterLength,
            settings.finalFilterLength};
}

SmoothingFilter::SmoothingFilter()
    : m_input(kCapacity, kEndMarker), m_work(kCapacity, kEndMarker), m_pass1(kCapacity, kEndMarker),
      m_trend(kCapacity, kEndMarker), m_prefix(kCapacity + 1, 0) {}

void SmoothingFilter::takeCurve(const int32_t* altitudeCm, size_t capacity) {
    const size_t limit = std::min(capacity, kMaximumLength);
    size_t n = 0;
    while (n < limit && altitudeCm[n] != kEndMarker) {
        ++n;
    }
    m_length = n;
    for (std::vector<int32_t>* curve : {&m_input, &m_work, &m_pass1, &m_trend}) {
        std::copy(altitudeCm, altitudeCm + n, curve->begin());
        (*curve)[n] = kEndMarker;
    }
}

void SmoothingFilter::takeCurve(const std::vector<int32_t>& samples) {
    takeCurve(samples.data(), samples.size());
}

void SmoothingFilter::copyHead(const std::vector<int32_t>& in, std::vector<int32_t>& out,
                               size_t slots) const {
    std::copy(in.begin(), in.begin() + static_cast<ptrdiff_t>(std::min(slots, m_length)),
              out.begin());
}

template <typename Window>
void SmoothingFilter::average(const std::vector<int32_t>& in, std::vector<int32_t>& out,
                              size_t from, Window window) {
    const size_t n = m_length;
    for (size_t j = 0; j < n; ++j) {
        m_prefix[j + 1] = m_prefix[j] + in[j];
    }
    for (size_t i = from; i < n; ++i) {
        const auto [back, forward] = window();
        const size_t first = i - back;
        const size_t last = static_cast<size_t>(
            std::min<int64_t>(static_cast<int64_t>(i) + forward - 1, static_cast<int64_t>(n) - 1));
        const int32_t sum = wrap32(m_prefix[last + 1] - m_prefix[first]);
        out[i] = divide32(sum, static_cast<int32_t>(last - first + 1));
    }
    out[n] = kEndMarker;
}

void SmoothingFilter::smoothPass1(int32_t length) {
    const size_t back = effectiveLength(length);
    const int64_t forward = reachOf(static_cast<int64_t>(back));
    // Slots below the length keep the input, also where the length exceeds the copied head.
    copyHead(m_work, m_pass1, std::max(kCopiedHead, back));
    average(m_work, m_pass1, back, [&] { return std::pair<size_t, int64_t>(back, forward); });
}

void SmoothingFilter::smoothPass2(int32_t length) {
    const size_t fullBack = effectiveLength(length);
    const int64_t fullForward = reachOf(static_cast<int64_t>(fullBack));
    copyHead(m_pass1, m_trend, kCopiedHead);
    // The window grows by one sample on each side per index until it reaches its full size.
    size_t back = 1;
    int64_t forward = 1;
    average(m_pass1, m_trend, kGrowingWindowStart, [&] {
        const std::pair<size_t, int64_t> window(back, forward);
        forward += forward != fullForward ? 1 : 0;
        back += back != fullBack ? 1 : 0;
        return window;
    });
}

void SmoothingFilter::coarseCut(int32_t c) {
    int32_t* work = m_work.data();
    const size_t n = m_length;
    int64_t tolerance = c;
    int64_t allowance = 0;
    size_t anchor = 0;
    size_t i = 1;
    while (i < n) {
        allowance += tolerance;
        const int32_t difference = difference32(work[i], work[anchor]);
        if (magnitude(difference) < allowance) {
            tolerance = c;
            if (i != anchor + 1) {
                bridgeByStep(work, anchor, i, difference);
            }
            anchor = i;
            allowance = 0;
        } else if (i - anchor >= kCoarseCandidates) {
            // Each restart raises the tolerance by 30 cm until some candidate passes; the
            // restarts in between find nothing, so the tolerance goes there at once. A candidate
            // k samples on passes once k * tolerance exceeds its distance.
            int64_t needed = INT64_MAX;
            for (size_t k = 1; k <= kCoarseCandidates; ++k) {
                const int64_t distance = magnitude(difference32(work[anchor + k], work[anchor]));
                needed = std::min(needed, distance / static_cast<int64_t>(k) + 1);
            }
            const int64_t raises =
                std::max<int64_t>(1, ceilDivide(needed - tolerance, kCoarseRaise));
            tolerance += raises * kCoarseRaise;
            i = anchor;
            allowance = 0;
        }
        ++i;
    }
}

void SmoothingFilter::fineCut(int64_t t) {
    std::copy(m_input.begin(), m_input.begin() + static_cast<ptrdiff_t>(m_length) + 1,
              m_work.begin());
    int32_t* work = m_work.data();
    const int32_t* trend = m_trend.data();
    const size_t n = m_length;
    int64_t tolerance = t;
    int64_t slopeSum = 0; // tenths of a centimetre
    size_t anchor = 0;
    size_t i = 1;
    // The last sample is never a candidate.
    while (i + 1 < n) {
        slopeSum += slopeStep(trend, i);
        const int64_t widening = magnitude(slopeSum) / 10;
        const int64_t lowest = int64_t{trend[i]} - widening - tolerance;
        const int64_t highest = int64_t{trend[i]} + widening + tolerance;
        if (lowest <= work[i] && work[i] <= highest) {
            tolerance = t;
            if (i != anchor + 1) {
                bridgeInTenths(work, anchor, i);
            }
            anchor = i;
            slopeSum = 0;
        } else if (i - anchor >= kFineCandidates) {
            // Every restart widens the band by 1 cm and carries the slope sum on: in round r
            // after this one, candidate k sees the slope sum slopeSum + r * cycle + partial(k)
            // and the tolerance nextTolerance + r. It passes when r alone makes up what it
            // misses, or when |slopeSum + r * cycle + partial(k)| >= 10 * (missing - r); either
            // side of that is linear in r. The rounds before the first one in which some
            // candidate passes find nothing, so they are skipped.
            int64_t cycle = 0;
            for (size_t k = 1; k <= kFineCandidates; ++k) {
                cycle += slopeStep(trend, anchor + k);
            }
            const int64_t nextTolerance = tolerance + 1;
            int64_t rounds = INT64_MAX;
            int64_t partial = 0;
            for (size_t k = 1; k <= kFineCandidates; ++k) {
                const size_t candidate = anchor + k;
                partial += slopeStep(trend, candidate);
                const int64_t missing =
                    magnitude(int64_t{work[candidate]} - trend[candidate]) - nextTolerance;
                const int64_t start = slopeSum + partial;
                int64_t least = std::max<int64_t>(0, missing);
                for (const auto solution : {leastSolution(cycle + 10, 10 * missing - start),
                                            leastSolution(10 - cycle, 10 * missing + start)}) {
                    if (solution) {
                        least = std::min(least, *solution);
                    }
                }
                rounds = std::min(rounds, least);
            }
            slopeSum += rounds * cycle;
            tolerance = nextTolerance + rounds;
            i = anchor;
        }
        ++i;
    }
}

void SmoothingFilter::runFilter(const FilterParameters& p) {
    std::copy(m_input.begin(), m_input.begin() + static_cast<ptrdiff_t>(m_length) + 1,
              m_work.begin());
    coarseCut(p.preCutCm);
    smoothPass1(p.preFilterLength);
    smoothPass2(p.finalFilterLength);
    fineCut(2 * int64_t{p.finalCutCm});
    for (int round = 0; round < kFineRounds; ++round) {
        smoothPass1(p.preFilterLength);
        smoothPass2(p.finalFilterLength);
        fineCut(p.finalCutCm);
    }
}

FilterResult filterCurve(SmoothingFilter& filter, const int32_t* altitudeCm, size_t capacity,
                         const FilterParameters& parameters, char decimalSeparator) {
    filter.takeCurve(altitudeCm, capacity);
    filter.runFilter(parameters);
    const auto n = static_cast<ptrdiff_t>(filter.length());
    FilterResult result;
    result.filteredCm.assign(filter.work(), filter.work() + n);
    result.unfilteredCm.assign(filter.input(), filter.input() + n);
    for (const int32_t sample : result.filteredCm) {
        result.maximumCm = std::max(result.maximumCm, sample);
        result.minimumCm = std::min(result.minimumCm, sample);
    }
    result.maxText = oneDecimalTextOfCentimetres(result.maximumCm, decimalSeparator);
    result.minText = oneDecimalTextOfCentimetres(result.minimumCm, decimalSeparator);
    return result;
}

FilterResult filterCurve(const int32_t* altitudeCm, size_t capacity,
                         const FilterParameters& parameters, char decimalSeparator) {
    SmoothingFilter filter;
    return filterCurve(filter, altitudeCm, capacity, parameters, decimalSeparator);
}

int32_t filterLabelSeconds(uint32_t k, uint32_t samplesPer10s) {
    if (samplesPer10s == 0) {
        return -1;
    }
    const uint32_t tick = 10 * k;
    return tick % samplesPer10s == 0 ? static_cast<int32_t>(tick / samplesPer10s) : -1;
}

} // namespace vtl
