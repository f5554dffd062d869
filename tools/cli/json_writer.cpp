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

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0 when the bytes there are not one.
size_t sequenceLength(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    unsigned char lowest = 0x80;
    unsigned char highest = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = lead == 0xE0 ? 0xA0 : 0x80;  // overlong
        highest = lead == 0xED ? 0x9F : 0xBF; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = lead == 0xF0 ? 0x90 : 0x80;  // overlong
        highest = lead == 0xF4 ? 0x8F : 0xBF; // past U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < lowest || byte(at + 1) > highest) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

} // namespace

bool validUtf8(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = sequenceLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string hexBytes(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
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
    for (size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_text += '\\';
            m_text += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            m_text += escaped;
        } else if (byte >= 0x80) {
            // A reader of JSON may refuse bytes that are not UTF-8: each byte that starts no
            // well-formed sequence stands for one replacement character.
            const size_t length = sequenceLength(text, at);
            if (length == 0) {
                m_text += "\\ufffd";
                ++at;
                continue;
            }
            m_text.append(text, at, length);
            at += length;
            continue;
        } else {
            m_text += c;
        }
        ++at;
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
