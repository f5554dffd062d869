// SPDX-License-Identifier: GPL-3.0-or-later
#include "json_output.h"

#include "command_line.h"
#include "text_bytes.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vtl::cli {
namespace {

using nlohmann::ordered_json;

// The value of a decimal written in the C locale.
double decimalValue(const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string numberText(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else if (byte >= 0x80) {
            // A reader of JSON may refuse bytes that are not UTF-8: each byte that starts no
            // well-formed sequence stands for one replacement character.
            const size_t length = utf8SequenceLength(text, at);
            if (length == 0) {
                out += "\\ufffd";
                ++at;
                continue;
            }
            out.append(text, at, length);
            at += length;
            continue;
        } else {
            out += c;
        }
        ++at;
    }
    return out + '"';
}

class JsonTextWriter {
public:
    JsonTextWriter(JsonLayout layout, JsonScalars scalars)
        : m_indented(layout == JsonLayout::Indented), m_scalars(scalars) {}

    void write(const ordered_json& value, int depth) {
        if (value.is_object()) {
            writeObject(value, depth);
        } else if (value.is_array()) {
            writeArray(value, depth);
        } else if (m_scalars == JsonScalars::Library) {
            m_text += value.dump();
        } else {
            writeScalar(value);
        }
    }

    const std::string& text() const { return m_text; }

private:
    void newLine(int depth) {
        m_text += '\n';
        m_text.append(static_cast<size_t>(depth) * 2, ' ');
    }

    void writeObject(const ordered_json& object, int depth) {
        m_text += '{';
        bool first = true;
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!first) {
                m_text += ',';
            }
            first = false;
            if (m_indented) {
                newLine(depth + 1);
            }
            m_text += m_scalars == JsonScalars::Library ? ordered_json(it.key()).dump()
                                                        : quoted(it.key());
            m_text += m_indented ? ": " : ":";
            write(it.value(), depth + 1);
        }
        if (m_indented && !object.empty()) {
            newLine(depth);
        }
        m_text += '}';
    }

    void writeArray(const ordered_json& array, int depth) {
        // Numbers and texts stay on one line, a curve is read across; objects go one a line.
        const bool spread = m_indented && !array.empty() && array.front().is_object();
        m_text += '[';
        bool first = true;
        for (const ordered_json& item : array) {
            if (!first) {
                m_text += m_indented && !spread ? ", " : ",";
            }
            first = false;
            if (spread) {
                newLine(depth + 1);
            }
            write(item, spread ? depth + 1 : depth);
        }
        if (spread) {
            newLine(depth);
        }
        m_text += ']';
    }

    void writeScalar(const ordered_json& value) {
        switch (value.type()) {
        case ordered_json::value_t::string:
            m_text += quoted(value.get_ref<const std::string&>());
            break;
        case ordered_json::value_t::boolean:
            m_text += value.get<bool>() ? "true" : "false";
            break;
        case ordered_json::value_t::number_integer:
            m_text += std::to_string(value.get<int64_t>());
            break;
        case ordered_json::value_t::number_unsigned:
            m_text += std::to_string(value.get<uint64_t>());
            break;
        case ordered_json::value_t::number_float:
            m_text += numberText(value.get<double>());
            break;
        default:
            m_text += "null";
            break;
        }
    }

    const bool m_indented;
    const JsonScalars m_scalars;
    std::string m_text;
};

} // namespace

ordered_json floatJson(float number) {
    if (!std::isfinite(number)) {
        return nullptr;
    }
    // The double nearest the float's shortest decimal prints as that same decimal.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return decimalValue(std::string(buffer, result.ptr));
}

ordered_json figureJson(const std::optional<double>& number) {
    if (!number || !std::isfinite(*number)) {
        return nullptr;
    }
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, *number, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
        // A whole number as an integer: as a double, 100000 would print as 1e+05.
        int64_t whole = 0;
        const auto parsed = std::from_chars(text.data(), text.data() + text.size(), whole);
        if (parsed.ec == std::errc() && parsed.ptr == text.data() + text.size()) {
            return whole; // "-0" reads as 0
        }
    }
    return decimalValue(text);
}

std::string jsonText(const ordered_json& value, JsonLayout layout, JsonScalars scalars) {
    JsonTextWriter writer(layout, scalars);
    writer.write(value, 0);
    return writer.text();
}

JsonLayout requestedLayout(const CommandLine& args) {
    return args.flag("--pretty") ? JsonLayout::Indented : JsonLayout::OneLine;
}

} // namespace vtl::cli
