// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/contest/results_sheet_layout.h"
#include "core/shell/language.h"

#include <string>

class QPagedPaintDevice;
class QPrinter;

namespace vtl {
class Contest;
}

// A contest's results on paper: the layout's heading and table, as many rows a page as the
// paper holds, the column heads again on every page and "page N / M" at the foot of each.
class ResultsSheet {
public:
    ResultsSheet(const vtl::Contest& contest, vtl::Language language);

    // Paints every page on the device (a printer, a PDF writer) with its page size and margins.
    // False when painting could not start.
    bool paint(QPagedPaintDevice& device) const;
    // The window's "Drukuj wyniki…": on the printer the user chose.
    bool print(QPrinter& printer) const;
    // An A4 PDF, written through the safe writer; `error` says why it could not be (0 when the
    // PDF itself could not be made).
    bool writePdf(const std::string& path, int* error = nullptr) const;

    const vtl::ResultsSheetLayout& layout() const { return m_layout; }

private:
    vtl::ResultsSheetLayout m_layout;
};
