// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/system_printers.h"

#include <QPrinterInfo>

std::vector<std::string> SystemPrinters::printerNames() const {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        names.push_back(name.toStdString());
    }
    return names;
}

std::string SystemPrinters::defaultPrinterName() const {
    return QPrinterInfo::defaultPrinterName().toStdString();
}
