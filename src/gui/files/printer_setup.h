// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/prompter.h"

class QPrinter;

namespace vtl {

// Puts the stored choices on a printer, for the set-up dialog to show them and for the print to
// use them; what the printer cannot take (a margin past its limits) keeps its default.
void applyPrinterChoices(const PrinterChoices& choices, QPrinter& printer);

// The choices a printer holds, as the set-up dialog left them.
PrinterChoices printerChoicesOf(const QPrinter& printer);

} // namespace vtl
