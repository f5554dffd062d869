// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/measurement_file.h"

#include "core/shell/atomic_file.h"
#include "core/shell/utf8_path.h"

#include <algorithm>
#include <cstdio>

namespace vtl {

bool readMeasurementFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::FILE* file = openUtf8File(path, "rb");
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

bool writeMeasurementFile(const std::string& path, const FlightRecord& record, int* error) {
    const size_t length =
        static_cast<size_t>(std::clamp<int32_t>(record.rawLength, 0, FlightRecord::kImageCapacity));
    return writeFileAtomically(path, record.rawImage.data(), length, error);
}

std::string fileTitle(const std::string& path, bool slashSeparates) {
    for (size_t i = path.size() >= 2 ? path.size() - 1 : 0; i-- > 0;) {
        if (path[i] == '\\' || (slashSeparates && path[i] == '/')) {
            return path.substr(i + 1);
        }
    }
    return path;
}

} // namespace vtl
