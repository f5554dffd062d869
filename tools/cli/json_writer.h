// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl::cli {

// A small writer for the companion's one-line JSON output; numbers use '.' and floats their
// shortest text that reads back to the same value.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(const std::string& name);
    JsonWriter& value(int64_t number);
    JsonWriter& value(float number);
    JsonWriter& value(const std::string& text);
    // A measured figure to two decimals, without trailing zeros; null when absent.
    JsonWriter& figure(const std::optional<double>& number);
    // Not an overload of value(): a string literal would silently convert to bool.
    JsonWriter& boolean(bool flag);
    JsonWriter& null();
    // A double in its shortest text that reads back the same; not value(): 0 would be ambiguous.
    JsonWriter& number(double value);
    JsonWriter& array(const std::vector<int32_t>& numbers);
    JsonWriter& array(const std::vector<std::string>& texts);

    const std::string& text() const { return m_text; }

private:
    void separate();

    std::string m_text;
    bool m_needsComma = false;
};

std::string formatFloat(float number);

// Whether the text is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF). value() writes each ill-formed sequence as \ufffd.
bool validUtf8(const std::string& text);

// The bytes as lowercase hexadecimal, two digits a byte.
std::string hexBytes(const std::string& bytes);

// The writer's one-line text laid out for reading: each key of an object on its own line,
// indented two spaces a level; arrays of numbers and texts stay on one line.
std::string indentJson(const std::string& compact);

} // namespace vtl::cli
