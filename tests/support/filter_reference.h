// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vtl::testing {

// The smoothing filter's two clean-ups as they are written, one restart at a time, to hold the
// filter's restart shortcut to them (tests and fuzzing).
void coarseCutStepByStep(std::vector<int32_t>& w, size_t n, int32_t c);
void fineCutStepByStep(std::vector<int32_t>& w, const int32_t* trend, size_t n, int64_t t);

} // namespace vtl::testing
