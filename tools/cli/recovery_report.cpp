// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery_report.h"

#include "core/files/interrupted_saves.h"
#include "core/shell/text_tables.h"

#include <cstdio>

namespace vtl::cli {

void recoverArchiveFolder(const std::string& folder, Language language) {
    const InterruptedSaves outcome = recoverInterruptedSaves(folder);
    for (const std::string& path : outcome.recovered) {
        std::fprintf(stderr, "%s\n", messageWith(Message::RecoveredFlight, path, language).c_str());
    }
    for (const std::string& path : outcome.leftBehind) {
        std::fprintf(stderr, "%s\n", messageWith(Message::RecoveryFailed, path, language).c_str());
    }
}

} // namespace vtl::cli
