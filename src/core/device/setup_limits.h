// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vtl {

// The largest value a field of the device setup takes. The text is read as a whole number,
// multiplied by the scale and compared as an unsigned 32-bit number, so a negative entry counts as
// too large, except where negative values are meaningful.
struct SetupLimit {
    uint32_t largest;
    int32_t scale = 1;
    bool negativeAccepted = false;
};

constexpr SetupLimit kTriggerLevelLimit{200};       // metres
constexpr SetupLimit kCompetitorNumberLimit{10000}; // as typed
constexpr SetupLimit kDelayLimit{30000, 100};       // seconds, sent in hundredths
// The temperature reading is never sent; a frost reading must not look like a fault.
constexpr SetupLimit kTemperatureLimit{70, 1, true}; // degrees Celsius

enum class LimitCheck {
    Empty, // nothing to check
    Ok,
    NotInteger, // the framework's conversion error
    TooLarge,
};

// A whole number as the framework's conversion reads it: leading blanks, an optional sign and
// decimal digits, within 32 bits.
std::optional<int32_t> wholeNumberFromText(const std::string& text);

LimitCheck checkSetupLimit(const std::string& text, const SetupLimit& limit);

// The edits that must not be empty before the setup is sent, in the order they are tested.
enum class SetupField { TriggerLevel, Delay, CompetitorNumber };

// The first empty one of the three texts; blanks are not empty.
std::optional<SetupField> firstEmptySetupField(const std::string& triggerLevel,
                                               const std::string& delay,
                                               const std::string& competitorNumber);

} // namespace vtl
