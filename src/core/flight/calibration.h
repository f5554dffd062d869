// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace vtl {

// The pressure sensor's eleven factory coefficients, carried in every flight image header.
struct Calibration {
    int16_t AC1 = 7728;
    int16_t AC2 = -1282;
    int16_t AC3 = -14533;
    uint16_t AC4 = 33406;
    uint16_t AC5 = 25087;
    uint16_t AC6 = 20576;
    int16_t B1 = 5498;
    int16_t B2 = 70;
    int16_t MB = -32768;
    int16_t MC = -11075;
    int16_t MD = 2432;
};

} // namespace vtl
