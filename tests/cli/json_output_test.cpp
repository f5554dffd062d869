// SPDX-License-Identifier: GPL-3.0-or-later
// The companion's JSON text: numbers as a reader expects them, strings any reader accepts, and
// the layout --pretty asks for.
#include "json_output.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

using nlohmann::ordered_json;
using vtl::cli::figureJson;
using vtl::cli::floatJson;
using vtl::cli::JsonLayout;
using vtl::cli::JsonScalars;
using vtl::cli::jsonText;

namespace {

std::string indented(const ordered_json& value) {
    return jsonText(value, JsonLayout::Indented);
}

// A float prints as the shortest decimal that reads back to it, not as the double it widens to.
TEST(JsonOutput, FloatsPrintTheirShortestText) {
    EXPECT_EQ(jsonText(floatJson(0.1f)), "0.1");
    EXPECT_EQ(jsonText(floatJson(1013.25f)), "1013.25");
    EXPECT_EQ(jsonText(floatJson(17.3f)), "17.3");
    EXPECT_EQ(jsonText(floatJson(40.0f)), "40");
    EXPECT_EQ(jsonText(floatJson(-0.0f)), "-0");
    EXPECT_EQ(jsonText(floatJson(1e-5f)), "1e-05");
    EXPECT_EQ(jsonText(floatJson(123456789.0f)), "123456792"); // the float there is
    EXPECT_EQ(jsonText(floatJson(std::numeric_limits<float>::quiet_NaN())), "null");
    EXPECT_EQ(jsonText(floatJson(std::numeric_limits<float>::infinity())), "null");
    // A double is the shortest text of the double.
    EXPECT_EQ(jsonText(ordered_json(0.1)), "0.1");
    EXPECT_EQ(jsonText(ordered_json(3.0)), "3");
    EXPECT_EQ(jsonText(ordered_json(100000.0)), "1e+05");
}

// Figures round as printf does, to two decimals, and drop the zeros a reader need not see.
TEST(JsonOutput, FiguresHaveTwoDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(jsonText(figureJson(12.345)), "12.35"); // the double is a little above
    EXPECT_EQ(jsonText(figureJson(0.125)), "0.12");   // an exact half goes to the even digit
    EXPECT_EQ(jsonText(figureJson(0.375)), "0.38");
    EXPECT_EQ(jsonText(figureJson(120.1)), "120.1");
    EXPECT_EQ(jsonText(figureJson(7.0)), "7");
    EXPECT_EQ(jsonText(figureJson(100000.0)), "100000");
    EXPECT_EQ(jsonText(figureJson(-1.5)), "-1.5");
    EXPECT_EQ(jsonText(figureJson(-0.001)), "0");
    EXPECT_EQ(jsonText(figureJson(std::nullopt)), "null");
}

// Quotes, backslashes and control characters are escaped; UTF-8 passes as it is; every byte that
// starts no well-formed sequence is one replacement character, so that any reader takes the text.
TEST(JsonOutput, StringsAreEscapedAndIllFormedBytesReplaced) {
    EXPECT_EQ(jsonText("say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\"");
    EXPECT_EQ(jsonText("a\tb\nc\x01\x1f"), "\"a\\u0009b\\u000ac\\u0001\\u001f\"");
    EXPECT_EQ(jsonText("\x7f/"), "\"\x7f/\"");
    EXPECT_EQ(jsonText("żółw→\U0001F600"), "\"żółw→\U0001F600\"");
    EXPECT_EQ(jsonText("lot\xff\xfe(.bin"), "\"lot\\ufffd\\ufffd(.bin\"");
    // Overlong, surrogate, past U+10FFFF, cut short.
    EXPECT_EQ(jsonText("\xc0\xaf|\xed\xa0\x80|\xf4\x90\x80\x80|\xe2\x86"),
              "\"\\ufffd\\ufffd|\\ufffd\\ufffd\\ufffd|\\ufffd\\ufffd\\ufffd\\ufffd|"
              "\\ufffd\\ufffd\"");
    // Keys are strings like any other.
    EXPECT_EQ(jsonText(ordered_json{{"k\"\xff", nullptr}}), "{\"k\\\"\\ufffd\":null}");
}

TEST(JsonOutput, OneLineKeepsTheKeysInTheirOrder) {
    ordered_json value;
    value["zeta"] = 1;
    value["alpha"] = ordered_json::array({1, -2});
    value["flag"] = false;
    value["empty"] = ordered_json::object();
    value["none"] = ordered_json::array();
    EXPECT_EQ(jsonText(value), "{\"zeta\":1,\"alpha\":[1,-2],\"flag\":false,\"empty\":{},"
                               "\"none\":[]}");
}

// Objects go one key a line; arrays of numbers and texts stay on one line, arrays of objects go
// one object a line; nothing empty is opened up.
TEST(JsonOutput, IndentedLayout) {
    ordered_json value;
    value["altitudeCm"] = ordered_json::array({0, 150, -20});
    value["labels"] = ordered_json::array({"0", "1"});
    value["calibration"] = ordered_json{{"AC1", 408}, {"AC2", -72}};
    value["rows"] = ordered_json::array({ordered_json{{"file", "a.bin"}}, ordered_json::object()});
    value["none"] = ordered_json::array();
    value["empty"] = ordered_json::object();
    value["mixed"] = ordered_json::array({1, ordered_json{{"a", 2}}});
    EXPECT_EQ(indented(value), "{\n"
                               "  \"altitudeCm\": [0, 150, -20],\n"
                               "  \"labels\": [\"0\", \"1\"],\n"
                               "  \"calibration\": {\n"
                               "    \"AC1\": 408,\n"
                               "    \"AC2\": -72\n"
                               "  },\n"
                               "  \"rows\": [\n"
                               "    {\n"
                               "      \"file\": \"a.bin\"\n"
                               "    },\n"
                               "    {}\n"
                               "  ],\n"
                               "  \"none\": [],\n"
                               "  \"empty\": {},\n"
                               "  \"mixed\": [1, {\n"
                               "    \"a\": 2\n"
                               "  }]\n"
                               "}");
    EXPECT_EQ(indented(ordered_json::array()), "[]");
    EXPECT_EQ(indented(ordered_json::array({ordered_json{{"a", "x: [1,{"}}})),
              "[\n  {\n    \"a\": \"x: [1,{\"\n  }\n]");
}

// The contest's answers keep the library's numbers and strings in either layout.
TEST(JsonOutput, LibraryScalarsAreTheLibrarysText) {
    ordered_json value;
    value["total"] = 180.0;
    value["scores"] = ordered_json::array({nullptr, 0.1, 12.5});
    value["name"] = "Ewa\nNowak";
    EXPECT_EQ(jsonText(value, JsonLayout::OneLine, JsonScalars::Library), value.dump());
    EXPECT_EQ(jsonText(value, JsonLayout::Indented, JsonScalars::Library),
              "{\n  \"total\": 180.0,\n  \"scores\": [null, 0.1, 12.5],\n"
              "  \"name\": \"Ewa\\nNowak\"\n}");
}

} // namespace
