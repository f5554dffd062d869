// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/sampling_code.h"

namespace vtl {

uint32_t samplesPer10sForCode(uint8_t samplingCode) {
    switch (samplingCode & 0x0F) {
    case 0:
        return 200;
    case 1:
        return 150;
    case 2:
        return 100;
    case 3:
        return 50;
    case 4:
        return 10;
    case 5:
        return 5;
    case 6:
        return 2;
    default:
        return 1;
    }
}

std::string samplingTextForCode(uint8_t samplingCode) {
    switch (samplingCode & 0x0F) {
    case 0:
        return "20 pom/sek";
    case 1:
        return "15 pom/sek";
    case 2:
        return "10 pom/sek";
    case 3:
        return "  5 pom/sek";
    case 4:
        return "  1 pom/sek";
    case 5:
        return "  2 sek/pom";
    case 6:
        return "  5 sek/pom";
    default:
        return " 10 sek/pom";
    }
}

} // namespace vtl
