// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/decimal_text.h"

#include <charconv>
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

float plottedMetres(int32_t centimetres) {
    return static_cast<float>(centimetres * 0.01);
}

std::string altitudeText(int32_t centimetres, AltitudeRounding rounding, char decimalSeparator) {
    return rounding == AltitudeRounding::PlottedMetres
               ? oneDecimalText(plottedMetres(centimetres), decimalSeparator)
               : oneDecimalTextOfCentimetres(centimetres, decimalSeparator);
}

double shownMetres(int32_t centimetres, AltitudeRounding rounding) {
    // Read back from the text itself, so the number can never say other than the text.
    const std::string text = altitudeText(centimetres, rounding);
    double metres = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), metres);
    return metres;
}

} // namespace vtl
