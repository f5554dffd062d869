// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/prompter.h"

#include <string>
#include <vector>

namespace vtl {

// The printers the system offers. The print asks here first, so that a missing printer is
// reported instead of the print going nowhere; tests answer without the machine's printers.
class PrinterDirectory {
public:
    virtual ~PrinterDirectory() = default;
    virtual std::vector<std::string> printerNames() const = 0;
    virtual std::string defaultPrinterName() const = 0; // empty when there is none
};

// Where a print with the given choices goes: a file chosen in the set-up, the chosen printer
// where the system still has it, or else the system's default printer; none when nothing fits.
struct PrintTarget {
    enum class Kind { None, Printer, File };
    Kind kind = Kind::None;
    std::string name; // the printer's name or the file's path
};

PrintTarget printTarget(const PrinterChoices& choices, const PrinterDirectory& printers);

} // namespace vtl
