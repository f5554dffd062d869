// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/archive_location.h"

#include <QStandardPaths>

namespace vtl {

QString defaultArchiveFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vantorel/flights");
}

} // namespace vtl
