// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/setup_limits.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace vtl {

std::optional<int32_t> wholeNumberFromText(const std::string& text) {
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) {
        return std::nullopt;
    }
    const std::string number = text.substr(start);
    const size_t sign = (number[0] == '-' || number[0] == '+') ? 1 : 0;
    if (number.size() == sign ||
        number.find_first_not_of("0123456789", sign) != std::string::npos) {
        return std::nullopt;
    }
    errno = 0;
    const long long value = std::strtoll(number.c_str(), nullptr, 10);
    if (errno != 0 || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

LimitCheck checkSetupLimit(const std::string& text, const SetupLimit& limit) {
    if (text.empty()) {
        return LimitCheck::Empty;
    }
    const std::optional<int32_t> value = wholeNumberFromText(text);
    if (!value) {
        return LimitCheck::NotInteger;
    }
    if (*value < 0) {
        return limit.negativeAccepted ? LimitCheck::Ok : LimitCheck::TooLarge;
    }
    // Scaled in 64 bits: a huge entry must not wrap round to an acceptable value.
    const int64_t scaled = static_cast<int64_t>(*value) * limit.scale;
    return scaled > static_cast<int64_t>(limit.largest) ? LimitCheck::TooLarge : LimitCheck::Ok;
}

std::optional<SetupField> firstEmptySetupField(const std::string& triggerLevel,
                                               const std::string& delay,
                                               const std::string& competitorNumber) {
    if (triggerLevel.empty()) {
        return SetupField::TriggerLevel;
    }
    if (delay.empty()) {
        return SetupField::Delay;
    }
    if (competitorNumber.empty()) {
        return SetupField::CompetitorNumber;
    }
    return std::nullopt;
}

} // namespace vtl
