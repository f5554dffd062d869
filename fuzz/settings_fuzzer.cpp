// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the settings file: loaded, overlaid, saved and loaded again, the record must come
// back as it was.
#include "core/shell/program_settings.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratchFile(const char* name) {
    static const std::string folder = [] {
        char pattern[] = "/tmp/vtl-settings-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
    }();
    return folder + "/" + name;
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
