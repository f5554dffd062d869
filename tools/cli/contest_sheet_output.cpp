// SPDX-License-Identifier: GPL-3.0-or-later
#include "contest_sheet_output.h"

#include "flight_files.h"

#include "core/contest/contest.h"
#include "core/shell/framework_texts.h"
#include "gui/contest/results_sheet.h"

namespace vtl::cli {

void writeContestResultsPdf(const CommandLine& args, const Contest& contest,
                            const std::string& path) {
    const Language language = settingsLanguage(args);
    int error = 0;
    if (!ResultsSheet(contest, language).writePdf(path, &error)) {
        throw CommandError(cannotCreateFileText(path, error, language));
    }
}

} // namespace vtl::cli
