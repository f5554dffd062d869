// SPDX-License-Identifier: GPL-3.0-or-later
// The filter's restart shortcut against its clean-ups written one restart at a time: any curve,
// any parameters, the same result.
#include "fuzz_input.h"

#include "core/flight/smoothing_filter.h"
#include "support/filter_reference.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vtl;
    fuzz::FuzzInput input(data, size);
    FilterParameters p;
    p.preCutCm = static_cast<int16_t>(input.word());
    p.finalCutCm = static_cast<int16_t>(input.word());
    p.preFilterLength = static_cast<int8_t>(input.byte());
    p.finalFilterLength = static_cast<int8_t>(input.byte());

    // The curve: each step either jumps to a new value or walks from the last one. The values
    // stay within about 160 m, as the step-by-step version restarts once per centimetre of
    // tolerance and would take hours on the curves of the full 32-bit range.
    constexpr int32_t kReach = 16384;
    std::vector<int32_t> curve;
    int32_t value = 0;
    while (!input.empty() && curve.size() < 600) {
        const uint8_t kind = input.byte();
        value =
            kind < 32 ? static_cast<int16_t>(input.word()) / 2 : value + static_cast<int8_t>(kind);
        value = std::clamp(value, -kReach, kReach);
        curve.push_back(value);
    }
    curve.push_back(kEndMarker);

    SmoothingFilter filter;
    filter.takeCurve(curve);
    const size_t n = filter.length();
    std::vector<int32_t> expected(filter.input(), filter.input() + n);
    testing::coarseCutStepByStep(expected, n, p.preCutCm);
    filter.coarseCut(p.preCutCm);
    if (!std::equal(expected.begin(), expected.end(), filter.work())) {
        std::abort();
    }
    for (const int64_t t : {2 * int64_t{p.finalCutCm}, int64_t{p.finalCutCm}}) {
        filter.smoothPass1(p.preFilterLength);
        filter.smoothPass2(p.finalFilterLength);
        expected.assign(filter.input(), filter.input() + n);
        testing::fineCutStepByStep(expected, filter.trend(), n, t);
        filter.fineCut(t);
        if (!std::equal(expected.begin(), expected.end(), filter.work())) {
            std::abort();
        }
    }
    return 0;
}
