// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/framework_texts.h"

#include "core/shell/text_tables.h"

namespace vtl {

std::string cannotCreateFileText(const std::string& path) {
    return "Cannot create file " + path;
}

std::string cannotCreateFileText(const std::string& path, int error, Language language) {
    const std::string text = cannotCreateFileText(path);
    return error == 0 ? text : text + " (" + systemReasonText(error, language) + ")";
}

std::string cannotOpenFileText(const std::string& path) {
    return "Cannot open file " + path;
}

std::string notAnIntegerText(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

} // namespace vtl
