#pragma once

#include <QString>

namespace vtl {

// The settings file lies beside the executable, named after it with the extension "par". Where
// that folder may not be written, or the program is installed (its manuals lie in
// ../share/vantorel), the same name is used in the user's configuration folder instead.
QString resolveSettingsFilePath(const QString& executablePath);

} // namespace vtl
