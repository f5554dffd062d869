// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <QString>

namespace vtl {

// Which manuals a search accepts: the desktop's viewer takes a compiled help file or HTML, the
// program's own help window only HTML.
enum class HelpFormat { Any, Html };

// The manual of a language without its extension: "Vtl_HELPP" (Polish, 0) or "Vtl_HELPA" (any
// other language).
QString helpFileBaseName(vtl::Language language);

// The manual of a language, as a compiled help file where one lies beside the HTML one: looked for
// first in the working folder, where the desktop resolves a bare file name, then beside the
// program, then in the installed share folder (../share/vantorel/help from the program's folder).
// Empty when none exists.
QString helpFilePath(const QString& workingFolder, const QString& programFolder,
                     vtl::Language language, HelpFormat format = HelpFormat::Any);

} // namespace vtl
