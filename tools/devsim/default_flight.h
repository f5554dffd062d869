// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace vtl::devsim {

// The flight the simulator serves when it is given no file: a towed glider at 10 samples a
// second, 45 seconds of tow to 70 m and a three-minute glide back to the ground.
std::vector<uint8_t> defaultFlightImage();

} // namespace vtl::devsim
