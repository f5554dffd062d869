#pragma once

#include <QString>

namespace vtl {

// The settings file lies beside the executable, named after it with the extension "par". Where
// that folder may not be written (an installed program), the same name is used in the user's
// configuration folder instead.
QString resolveSettingsFilePath(const QString& executablePath);

} // namespace vtl
