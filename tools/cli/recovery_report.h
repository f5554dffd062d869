// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <string>

namespace vtl::cli {

// Takes back the flights that interrupted saves left in the archive folder and tells each one on
// stderr, with each flight that had to be left where it was. Nothing is said when there was
// nothing to do.
void recoverArchiveFolder(const std::string& folder, Language language);

} // namespace vtl::cli
