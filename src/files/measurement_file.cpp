#include "files/measurement_file.h"

#include <cstdio>

namespace vtl {

bool readMeasurementFile(const std::string &path, std::vector<uint8_t> &bytes) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    bytes.resize(kMeasurementReadLimit);
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    bytes.resize(read);
    return !failed;
}

} // namespace vtl
