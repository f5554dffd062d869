// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/spreadsheet_export.h"

#include <cstdlib>

namespace vtl {
namespace {

constexpr int64_t kFourDigitsCm = 100000;  // 1,000 m: from here four digits leave no decimal
constexpr int64_t kScientificCm = 1000000; // 10,000 m
constexpr uint8_t kLineEnd[] = {0x0A, 0x0D};

// Halves away from zero, for a non-negative dividend.
int64_t roundedQuotient(int64_t magnitude, int64_t divisor) {
    return (magnitude + divisor / 2) / divisor;
}

std::string scientific(bool negative, int64_t magnitude, char separator) {
    int exponent = -2; // centimetres to metres
    int64_t scale = 1;
    for (int64_t rest = magnitude; rest >= 10000; rest /= 10) {
        scale *= 10;
        ++exponent;
    }
    int64_t mantissa = roundedQuotient(magnitude, scale); // four significant digits
    if (mantissa >= 10000) {
        mantissa /= 10;
        ++exponent;
    }
    exponent += 3;
    std::string text = negative ? "-" : "";
    text += std::to_string(mantissa / 1000);
    text += separator;
    const std::string fraction = std::to_string(mantissa % 1000);
    text += std::string(3 - fraction.size(), '0') + fraction;
    text += exponent < 10 ? "E+0" : "E+";
    text += std::to_string(exponent);
    return text;
}

} // namespace

std::string spreadsheetValueText(int32_t centimetres, char decimalSeparator) {
    const bool negative = centimetres < 0;
    const int64_t magnitude = std::llabs(static_cast<long long>(centimetres));
    int64_t tenths = 0;
    if (magnitude < kFourDigitsCm) {
        tenths = roundedQuotient(magnitude, 10);
    } else {
        const int64_t metres = roundedQuotient(magnitude, 100);
        if (metres * 100 >= kScientificCm) {
            return scientific(negative, magnitude, decimalSeparator);
        }
        tenths = metres * 10;
    }
    std::string text = negative ? "-" : "";
    text += std::to_string(tenths / 10);
    text += decimalSeparator;
    text += static_cast<char>('0' + tenths % 10);
    return text;
}

int32_t exportedPointCount(const FlightRecord& record) {
    return record.seriesCount > 2 ? record.seriesCount - 2 : 0;
}

std::vector<uint8_t> spreadsheetBytes(const FlightRecord& record, char decimalSeparator) {
    std::vector<uint8_t> bytes;
    const int32_t points = exportedPointCount(record);
    for (int32_t i = 0; i < points && record.altitudeCm[i] != kEndMarker; ++i) {
        const std::string line = spreadsheetValueText(record.altitudeCm[i], decimalSeparator);
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.insert(bytes.end(), std::begin(kLineEnd), std::end(kLineEnd));
    }
    return bytes;
}

std::string withRequiredSuffix(const std::string& name, const std::string& suffix) {
    return name.find(suffix) == std::string::npos ? name + suffix : name;
}

} // namespace vtl
