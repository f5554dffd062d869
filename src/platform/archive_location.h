// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vtl {

// Where downloaded flights are kept unless the user says otherwise: ~/.local/share/vantorel/flights
// on Linux, the local application-data folder on Windows. The window and the command-line
// companion keep their copies in the same place.
QString defaultArchiveFolder();

} // namespace vtl
