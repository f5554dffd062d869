// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/setup_limits.h"

#include <gtest/gtest.h>

namespace vtl {
namespace {

TEST(SetupLimits, EachFieldAcceptsItsLargestValueAndRefusesTheNext) {
    EXPECT_EQ(checkSetupLimit("200", kTriggerLevelLimit), LimitCheck::Ok);
    EXPECT_EQ(checkSetupLimit("201", kTriggerLevelLimit), LimitCheck::TooLarge);
    EXPECT_EQ(checkSetupLimit("10000", kCompetitorNumberLimit), LimitCheck::Ok);
    EXPECT_EQ(checkSetupLimit("10001", kCompetitorNumberLimit), LimitCheck::TooLarge);
    EXPECT_EQ(checkSetupLimit("70", kTemperatureLimit), LimitCheck::Ok);
    EXPECT_EQ(checkSetupLimit("71", kTemperatureLimit), LimitCheck::TooLarge);
    EXPECT_EQ(checkSetupLimit("0", kTriggerLevelLimit), LimitCheck::Ok);
}

TEST(SetupLimits, DelayIsComparedInHundredthsWithoutWrapping) {
    EXPECT_EQ(checkSetupLimit("300", kDelayLimit), LimitCheck::Ok);
    EXPECT_EQ(checkSetupLimit("301", kDelayLimit), LimitCheck::TooLarge);
    // 42949673 × 100 is 4 modulo 2^32: a 32-bit product would pass it as a 4/100 s delay.
    EXPECT_EQ(checkSetupLimit("42949673", kDelayLimit), LimitCheck::TooLarge);
    EXPECT_EQ(checkSetupLimit("2147483647", kDelayLimit), LimitCheck::TooLarge);
}

TEST(SetupLimits, NegativeEntriesAreTooLargeExceptATemperatureReading) {
    EXPECT_EQ(checkSetupLimit("-1", kTriggerLevelLimit), LimitCheck::TooLarge);
    EXPECT_EQ(checkSetupLimit("-1", kCompetitorNumberLimit), LimitCheck::TooLarge);
    EXPECT_EQ(checkSetupLimit("-1", kDelayLimit), LimitCheck::TooLarge);
    EXPECT_EQ(checkSetupLimit("-10", kTemperatureLimit), LimitCheck::Ok);
    EXPECT_EQ(checkSetupLimit("-128", kTemperatureLimit), LimitCheck::Ok);
}

TEST(SetupLimits, EmptyTextIsNotCheckedButBlanksAreNotANumber) {
    EXPECT_EQ(checkSetupLimit("", kTriggerLevelLimit), LimitCheck::Empty);
    EXPECT_EQ(checkSetupLimit(" ", kTriggerLevelLimit), LimitCheck::NotInteger);
}

TEST(SetupLimits, WholeNumbersAsTheFrameworkReadsThem) {
    EXPECT_EQ(wholeNumberFromText("  12"), 12);
    EXPECT_EQ(wholeNumberFromText("+7"), 7);
    EXPECT_EQ(wholeNumberFromText("-2147483648"), INT32_MIN);
    EXPECT_EQ(wholeNumberFromText("2147483647"), INT32_MAX);
    for (const char* text : {"-", "+", "abc", "12a", "12 ", "1.5", "2147483648", "-2147483649",
                             "99999999999999999999", "- 1"}) {
        EXPECT_FALSE(wholeNumberFromText(text).has_value()) << text;
        EXPECT_EQ(checkSetupLimit(text, kCompetitorNumberLimit), LimitCheck::NotInteger) << text;
    }
}

TEST(SetupLimits, EmptyFieldsAreFoundInTriggerDelayCompetitorOrder) {
    EXPECT_EQ(firstEmptySetupField("30", "0", "12"), std::nullopt);
    EXPECT_EQ(firstEmptySetupField("", "", ""), SetupField::TriggerLevel);
    EXPECT_EQ(firstEmptySetupField("30", "", ""), SetupField::Delay);
    EXPECT_EQ(firstEmptySetupField("30", "0", ""), SetupField::CompetitorNumber);
    EXPECT_EQ(firstEmptySetupField(" ", "  ", " "), std::nullopt);
}

} // namespace
} // namespace vtl
