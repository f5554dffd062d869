// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/decimal_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vtl {
namespace {

std::string tenthsText(bool negative, unsigned long long tenths, char decimalSeparator) {
    std::string text = negative ? "-" : "";
    text += std::to_string(tenths / 10);
    text += decimalSeparator;
    text += static_cast<char>('0' + tenths % 10);
    return text;
}

} // namespace

std::string oneDecimalText(float value, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    }
    // A float times ten is exact in double, so rounding it decides halves exactly.
    const double tenths = std::round(static_cast<double>(value) * 10.0);
    if (std::fabs(tenths) >= 9.0e18) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.1f", static_cast<double>(value));
        return buffer;
    }
    return tenthsText(std::signbit(value), static_cast<unsigned long long>(std::fabs(tenths)),
                      decimalSeparator);
}

std::string oneDecimalTextOfCentimetres(int32_t centimetres, char decimalSeparator) {
    const long long magnitude = std::llabs(static_cast<long long>(centimetres));
    // Tenths of a metre, halves (5 cm) away from zero.
    const unsigned long long tenths = static_cast<unsigned long long>((magnitude + 5) / 10);
    return tenthsText(centimetres < 0, tenths, decimalSeparator);
}

} // namespace vtl
