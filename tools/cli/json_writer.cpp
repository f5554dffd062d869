// SPDX-License-Identifier: GPL-3.0-or-later
#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace vtl::cli {

std::string formatFloat(float number) {
    if (!std::isfinite(number)) {
        return "null";
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

void JsonWriter::separate() {
    if (m_needsComma) {
        m_text += ',';
    }
    m_needsComma = true;
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    m_text += '{';
    m_needsComma = false;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    m_text += '}';
    m_needsComma = true;
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    m_text += '[';
    m_needsComma = false;
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    m_text += ']';
    m_needsComma = true;
    return *this;
}

JsonWriter& JsonWriter::number(double value) {
    separate();
    if (!std::isfinite(value)) {
        m_text += "null";
        return *this;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_text.append(buffer, result.ptr);
    return *this;
}

JsonWriter& JsonWriter::key(const std::string& name) {
    value(name);
    m_text += ':';
    m_needsComma = false;
    return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
    separate();
    m_text += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool flag) {
    separate();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::value(float number) {
    separate();
    m_text += formatFloat(number);
    return *this;
}

JsonWriter& JsonWriter::figure(const std::optional<double>& number) {
    if (!number) {
        return null();
    }
    separate();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", *number);
    std::string text = buffer;
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    m_text += text == "-0" ? "0" : text;
    return *this;
}

JsonWriter& JsonWriter::value(const std::string& text) {
    separate();
    m_text += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_text += '\\';
            m_text += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            m_text += escaped;
        } else {
            m_text += c;
        }
    }
    m_text += '"';
    return *this;
}

JsonWriter& JsonWriter::null() {
    separate();
    m_text += "null";
    return *this;
}

JsonWriter& JsonWriter::array(const std::vector<int32_t>& numbers) {
    separate();
    m_text += '[';
    m_needsComma = false;
    for (const int32_t n : numbers) {
        value(static_cast<int64_t>(n));
    }
    m_text += ']';
    m_needsComma = true;
    return *this;
}

JsonWriter& JsonWriter::array(const std::vector<std::string>& texts) {
    separate();
    m_text += '[';
    m_needsComma = false;
    for (const auto& t : texts) {
        value(t);
    }
    m_text += ']';
    m_needsComma = true;
    return *this;
}

std::string indentJson(const std::string& compact) {
    std::string out;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    // Per open bracket: whether it lays its members out one a line. Arrays of numbers and texts
    // stay on one line; objects and arrays of objects do not.
    std::vector<bool> multiline;
    auto newLine = [&] {
        out += '\n';
        out.append(static_cast<size_t>(depth) * 2, ' ');
    };
    for (size_t i = 0; i < compact.size(); ++i) {
        const char c = compact[i];
        out += c;
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        const bool closesAtOnce =
            i + 1 < compact.size() && (compact[i + 1] == '}' || compact[i + 1] == ']');
        if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            const bool spread = c == '{' || (i + 1 < compact.size() && compact[i + 1] == '{');
            multiline.push_back(spread);
            if (spread && !closesAtOnce) {
                ++depth;
                newLine();
            }
        } else if (c == ':') {
            out += ' ';
        } else if (c == ',') {
            if (!multiline.empty() && !multiline.back()) {
                out += ' ';
            } else {
                newLine();
            }
        } else if (c == '}' || c == ']') {
            const bool spread = !multiline.empty() && multiline.back();
            if (!multiline.empty()) {
                multiline.pop_back();
            }
            if (spread && i > 0 && compact[i - 1] != '{' && compact[i - 1] != '[') {
                // Moved before the bracket, one level out.
                out.pop_back();
                --depth;
                newLine();
                out += c;
            }
        }
    }
    return out;
}

} // namespace vtl::cli
