// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace vtl::cli {

class CommandLine;

enum class JsonLayout {
    OneLine,
    // Each key of an object on its own line, indented two spaces a level; an array stays on one
    // line unless its first item is an object.
    Indented,
};

// Whose text the strings and numbers take. The contest's answers keep the library's own (scores
// print as 12.0 there, and the results' CSV writes them the same way); every other answer is the
// companion's: numbers in their shortest text, control characters as \u00XX and each byte that
// is not UTF-8 as \ufffd.
enum class JsonScalars { Program, Library };

// A float as the shortest decimal that reads back to the same float, so that 0.1f prints as 0.1
// and not as the double it widens to; null when not finite.
nlohmann::ordered_json floatJson(float number);

// A measured figure to two decimals, without trailing zeros; null when absent.
nlohmann::ordered_json figureJson(const std::optional<double>& number);

std::string jsonText(const nlohmann::ordered_json& value, JsonLayout layout = JsonLayout::OneLine,
                     JsonScalars scalars = JsonScalars::Program);

// --pretty asks for the answer laid out for reading.
JsonLayout requestedLayout(const CommandLine& args);

} // namespace vtl::cli
