// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/cursor_texts.h"

#include <cmath>
#include <cstdio>

namespace vtl {
namespace {

constexpr const char* kJoin = " \u00b7 ";

std::string decimals(double value, int places, char separator, bool signed_ = false) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, signed_ ? "%+.*f" : "%.*f", places, value);
    std::string text = buffer;
    // A value that rounds to zero reads "0.0", whichever side of zero it came from.
    if (text.find_first_not_of("+-0.") == std::string::npos) {
        text = text.substr(text[0] == '-' || text[0] == '+' ? 1 : 0);
    }
    for (char& c : text) {
        if (c == '.') {
            c = separator;
        }
    }
    return text;
}

int timePlaces(uint32_t samplesPer10s) {
    // Whole tenths when 100 / rate is a whole number of tenths of a second.
    return samplesPer10s == 0 || 100 % samplesPer10s == 0 ? 1 : 2;
}

std::string heightText(const ReadoutHeight& height, char separator) {
    return altitudeText(height.centimetres, height.rounding, separator) + " m";
}

std::string pointText(const CursorPoint& point, uint32_t samplesPer10s, AltitudeRounding rounding,
                      char separator) {
    std::string text = cursorTimeText(point.seconds, samplesPer10s, separator);
    if (point.altitudeCm) {
        text += kJoin + heightText({*point.altitudeCm, rounding}, separator);
    }
    return text;
}

} // namespace

std::string cursorTimeText(double seconds, uint32_t samplesPer10s, char separator) {
    return decimals(seconds, timePlaces(samplesPer10s), separator) + " s";
}

std::string readoutText(double seconds, uint32_t samplesPer10s,
                        const std::optional<ReadoutHeight>& current,
                        const std::optional<ReadoutHeight>& comparison, Language language,
                        char separator) {
    std::string text = "t " + cursorTimeText(seconds, samplesPer10s, separator);
    if (current) {
        text += kJoin + heightText(*current, separator);
    }
    if (comparison) {
        text += kJoin;
        text += language == Language::Polish ? "por\u00f3wnanie " : "comparison ";
        text += heightText(*comparison, separator);
    }
    return text;
}

CursorRowTexts cursorRowTexts(const CursorReadings& readings, bool hasA, bool hasB,
                              uint32_t samplesPer10s, AltitudeRounding rounding, char separator) {
    CursorRowTexts row;
    if (hasA) {
        row.a = pointText(readings.a, samplesPer10s, rounding, separator);
    }
    if (hasB) {
        row.b = pointText(readings.b, samplesPer10s, rounding, separator);
    }
    if (!hasA || !hasB) {
        return row;
    }
    row.dt = decimals(readings.dtS, timePlaces(samplesPer10s), separator, true) + " s";
    if (readings.dhM) {
        // From the exact centimetres, halves away from zero as the heights beside it.
        const auto dhCm = static_cast<int32_t>(std::lround(*readings.dhM * 100.0));
        std::string dh = oneDecimalTextOfCentimetres(dhCm, separator);
        if (dh.find_first_not_of(std::string("-0") + separator) == std::string::npos) {
            dh = dh.substr(dh[0] == '-' ? 1 : 0); // a few centimetres down read as level
        }
        row.dh = (dhCm > 0 ? "+" : "") + dh + " m";
    }
    if (readings.climbMps) {
        row.climb = decimals(*readings.climbMps, 2, separator, true) + " m/s";
    }
    return row;
}

std::string cursorWord(CursorWord word, Language language) {
    const bool polish = language == Language::Polish;
    switch (word) {
    case CursorWord::CurrentRow:
        return polish ? "Lot" : "Flight";
    case CursorWord::ComparisonRow:
        return polish ? "Por\u00f3wnanie" : "Comparison";
    case CursorWord::RemoveCursors:
        return polish ? "Usu\u0144 kursory" : "Remove cursors";
    }
    return std::string();
}

} // namespace vtl
