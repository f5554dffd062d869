// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/flight_figures_text.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace vtl {

namespace {

struct FiguresWords {
    const char* flight;
    const char* start;
    const char* maximum;
    const char* after;
    const char* climb;
    const char* sink;
};

constexpr FiguresWords kPolish{"Lot", "start", "maks.", "po", "wznoszenie", "opadanie"};
constexpr FiguresWords kEnglish{"Flight", "start", "max", "after", "climb", "sink"};

std::string decimals(double value, int places, char separator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
    std::string text = buffer;
    // A tiny negative value rounds to "-0.0", which reads as a fault, not a figure.
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-')
        text.erase(0, 1);
    for (char& c : text)
        if (c == '.')
            c = separator;
    return text;
}

} // namespace

std::string flightTimeText(double seconds) {
    const long whole = std::lround(seconds);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld:%02ld", whole / 60, whole % 60);
    return buffer;
}

std::string flightFiguresText(const FlightFigures& figures, Language language, char separator) {
    const FiguresWords& words = language == Language::Polish ? kPolish : kEnglish;
    std::vector<std::string> parts;
    if (figures.flightTimeS)
        parts.push_back(std::string(words.flight) + " " + flightTimeText(*figures.flightTimeS));
    if (figures.startS)
        parts.push_back(std::string(words.start) + " " + decimals(*figures.startS, 1, separator) +
                        " s");
    if (figures.maximumM && figures.maximumS)
        parts.push_back(std::string(words.maximum) + " " +
                        decimals(*figures.maximumM, 1, separator) + " m " + words.after + " " +
                        decimals(*figures.maximumS, 1, separator) + " s");
    if (figures.bestClimbMps)
        parts.push_back(std::string(words.climb) + " " +
                        decimals(*figures.bestClimbMps, 1, separator) + " m/s");
    if (figures.meanSinkMps)
        parts.push_back(std::string(words.sink) + " " +
                        decimals(*figures.meanSinkMps, 2, separator) + " m/s");

    std::string line;
    for (const std::string& part : parts) {
        if (!line.empty())
            line += " \u00b7 ";
        line += part;
    }
    return line;
}

std::string comparisonFiguresPrefix(Language language) {
    return language == Language::Polish ? "Por\u00f3wnanie: " : "Comparison: ";
}

} // namespace vtl
