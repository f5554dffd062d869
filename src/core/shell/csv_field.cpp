// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/csv_field.h"

namespace vtl {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + '"';
}

} // namespace vtl
