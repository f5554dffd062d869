// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/measurement_file.h"

#include "core/shell/atomic_file.h"
#include "core/shell/framework_texts.h"
#include "core/shell/text_tables.h"
#include "core/shell/utf8_path.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vtl {

namespace {

bool refuse(MeasurementReadFailure* failure, MeasurementReadFailure why) {
    if (failure != nullptr) {
        *failure = why;
    }
    return false;
}

} // namespace

bool readMeasurementFile(const std::string& path, std::vector<uint8_t>& bytes,
                         MeasurementReadFailure* failure) {
    if (failure != nullptr) {
        *failure = MeasurementReadFailure::None;
    }
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(utf8Path(path), error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return refuse(failure, MeasurementReadFailure::NotARegularFile);
    }
#ifdef _WIN32
    std::FILE* file = openUtf8File(path, "rb");
    if (file == nullptr) {
        return refuse(failure, MeasurementReadFailure::CannotRead);
    }
    bytes.resize(kMeasurementReadLimit);
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    bytes.resize(read);
    return failed ? refuse(failure, MeasurementReadFailure::CannotRead) : true;
#else
    // Without O_NONBLOCK a pipe put in the file's place after the check above would hold the
    // open until a writer came; the descriptor's own type is what counts.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return refuse(failure, MeasurementReadFailure::CannotRead);
    }
    struct stat opened {};
    const bool known = ::fstat(fd, &opened) == 0;
    if (!known || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return refuse(failure, known ? MeasurementReadFailure::NotARegularFile
                                     : MeasurementReadFailure::CannotRead);
    }
    bytes.resize(kMeasurementReadLimit);
    size_t read = 0;
    bool failed = false;
    while (read < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + read, bytes.size() - read);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        read += static_cast<size_t>(got);
    }
    ::close(fd);
    bytes.resize(read);
    return failed ? refuse(failure, MeasurementReadFailure::CannotRead) : true;
#endif
}

std::string cannotReadMeasurementText(const std::string& path, MeasurementReadFailure failure,
                                      Language language) {
    std::string text = cannotOpenFileText(path);
    if (failure == MeasurementReadFailure::NotARegularFile) {
        text += ": " + message(Message::ReasonNotARegularFile, language);
    }
    return text;
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
