#pragma once

#include <QString>

namespace vtl {

// The manual of a language: "Vtl_HELPP" (Polish) or "Vtl_HELPA" (any other language), as a
// compiled help file where one is installed, otherwise as HTML; looked for beside the program,
// then in the installed documentation folder. Empty when neither exists.
QString helpFilePath(const QString& programFolder, int language);

} // namespace vtl
