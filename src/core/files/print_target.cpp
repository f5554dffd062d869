// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/print_target.h"

#include <algorithm>

namespace vtl {

// A chosen printer that has gone is not swapped for the default one: the user picked a place for
// the paper, and printing elsewhere would surprise more than the message does.
PrintTarget printTarget(const PrinterChoices& choices, const PrinterDirectory& printers) {
    if (!choices.outputFile.empty()) {
        return {PrintTarget::Kind::File, choices.outputFile};
    }
    if (!choices.printerName.empty()) {
        const std::vector<std::string> names = printers.printerNames();
        if (std::find(names.begin(), names.end(), choices.printerName) == names.end()) {
            return {};
        }
        return {PrintTarget::Kind::Printer, choices.printerName};
    }
    const std::string fallback = printers.defaultPrinterName();
    if (fallback.empty()) {
        return {};
    }
    return {PrintTarget::Kind::Printer, fallback};
}

} // namespace vtl
