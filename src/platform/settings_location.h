// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/settings_places.h"

#include <QString>

namespace vtl {

// The settings file lies beside the executable, named after it with the extension "par". Where
// that folder or file may not be written, or the program is installed (its manuals lie in
// ../share/vantorel), the same name in the user's configuration folder ($XDG_CONFIG_HOME or
// ~/.config, then "vantorel") takes the choices; see SettingsPlaces for which file is read.
SettingsPlaces settingsPlacesFor(const QString& executablePath);

// The same for a settings file given by its own path, as if it lay beside the program.
SettingsPlaces settingsPlacesForFile(const QString& programFile);

// The file where the settings of the program at `executablePath` belong when all is well.
QString resolveSettingsFilePath(const QString& executablePath);

} // namespace vtl
