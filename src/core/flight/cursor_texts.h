// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/cursor_readings.h"
#include "core/flight/decimal_text.h"
#include "core/shell/language.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vtl {

// A time on the chart in seconds: one decimal, or two where the samples lie closer than a tenth
// of a second apart, so that neighbouring samples never read the same.
std::string cursorTimeText(double seconds, uint32_t samplesPer10s, char decimalSeparator);

// The status line under the mouse: "t 12.4 s · 87.3 m · comparison 85.1 m". A curve without a
// point there is left out; the heights are as their panels round them.
struct ReadoutHeight {
    int32_t centimetres = 0;
    AltitudeRounding rounding = AltitudeRounding::PlottedMetres;
};
std::string readoutText(double seconds, uint32_t samplesPer10s,
                        const std::optional<ReadoutHeight>& current,
                        const std::optional<ReadoutHeight>& comparison, Language language,
                        char decimalSeparator);

// One row of the cursors' table: a curve's time and height at each cursor, and from A to B the
// time, the height and the mean climb. A cell with nothing to say is empty.
struct CursorRowTexts {
    std::string a;
    std::string b;
    std::string dt;
    std::string dh;
    std::string climb;
};
// `hasA` and `hasB` say which cursors stand on the chart; the differences need both.
CursorRowTexts cursorRowTexts(const CursorReadings& readings, bool hasA, bool hasB,
                              uint32_t samplesPer10s, AltitudeRounding rounding,
                              char decimalSeparator);

// The words of the table and the menu.
enum class CursorWord { CurrentRow, ComparisonRow, RemoveCursors };
std::string cursorWord(CursorWord word, Language language);

} // namespace vtl
