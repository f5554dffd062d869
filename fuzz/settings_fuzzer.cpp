// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the settings file: loaded, overlaid, saved and loaded again, the record must come
// back as it was.
#include "core/shell/program_settings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

// Every input writes and renames two files with a sync: on tmpfs that costs no disk. The folder
// goes when the process exits normally; after a finding it stays to be looked at.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        const bool memory =
            std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0;
        std::string pattern = memory ? std::string("/dev/shm") : temporaryRoot();
        pattern += "/vtl-settings-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("settings_fuzzer: no scratch folder");
            std::abort();
        }
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const char* name) const { return m_path + "/" + name; }

private:
    static std::string temporaryRoot() {
        std::error_code error;
        const std::filesystem::path root = std::filesystem::temp_directory_path(error);
        return error ? std::string("/tmp") : root.string();
    }

    std::string m_path;
};

std::string scratchFile(const char* name) {
    static const ScratchFolder folder;
    return folder.file(name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vtl;
    ProgramSettings overlaid = defaultProgramSettings();
    overlayProgramSettings(overlaid, data, size);

    // The file's bytes as the program reads them at start-up.
    const std::string file = scratchFile("vantorel.par");
    if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
        if (!(loadProgramSettings(file) == overlaid)) {
            std::abort();
        }
    }

    // What is saved is exactly what comes back, in memory and through the file.
    const auto record = encodeProgramSettings(overlaid);
    ProgramSettings decoded = defaultProgramSettings();
    overlayProgramSettings(decoded, record.data(), record.size());
    if (!(decoded == overlaid)) {
        std::abort();
    }
    const std::string saved = scratchFile("saved.par");
    if (!saveProgramSettings(saved, overlaid) || !(loadProgramSettings(saved) == overlaid)) {
        std::abort();
    }
    overlaid.portNameText();
    return 0;
}
