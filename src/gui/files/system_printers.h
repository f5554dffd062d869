// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/print_target.h"

// The printers the system's print service knows (none where there is no print service).
class SystemPrinters : public vtl::PrinterDirectory {
public:
    std::vector<std::string> printerNames() const override;
    std::string defaultPrinterName() const override;
};
