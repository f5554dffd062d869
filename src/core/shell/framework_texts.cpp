#include "core/shell/framework_texts.h"

namespace vtl {

std::string cannotCreateFileText(const std::string& path) {
    return "Cannot create file " + path;
}

std::string cannotOpenFileText(const std::string& path) {
    return "Cannot open file " + path;
}

std::string notAnIntegerText(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

} // namespace vtl
