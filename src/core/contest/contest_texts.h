// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/contest/contest.h"
#include "core/contest/scoring_rule.h"
#include "core/shell/language.h"

#include <optional>
#include <string>

namespace vtl {

// The contest window's captions: its title (also the menu item), its buttons and fields, the
// new-contest dialog, the result card's flags and the results table's fixed columns.
enum class ContestCaption {
    WindowTitle,
    NewButton,
    OpenButton,
    RecentButton,
    CompetitorsButton,
    RoundLabel,
    DownloadNextButton,
    NoContest,
    NewDialogTitle,
    FolderField,
    NameField,
    RuleField,
    RoundsField,
    BestField,
    BestAll, // the "best" field at 0: every round counts
    FlagDuplicate,
    FlagSecondFlight,
    FlagUnregistered,
    FlagIncomplete,
    NoScore,
    RankColumn,
    NumberColumn,
    NameColumn,
    RoundColumn, // followed by the round's number
    TotalColumn,
    AutoDownloadOption,
    ZeroAfterOption,
    ZeroAfterQuestion,
    FlagZeroed,
    FlagNotZeroed,
    ChooseFlightTitle,
    PrintResultsButton,
    SaveResultsCsvButton,
    ResultsSaved, // followed by the file's path
    WaitingForLogger,
    Count
};

std::string caption(ContestCaption which, Language language);

// Metres carry one decimal, as the panel rounds them; a flight time in seconds two.
int contestScoreDecimals(ScoringRule::Kind kind);

// A score as the window shows it: metres with one decimal as the panel rounds them, a flight time
// in seconds with two; nothing for no score.
std::string contestScoreText(const std::optional<double>& score, ScoringRule::Kind kind,
                             char decimalSeparator);

// The card's line of flags, joined by " · ": duplicate, second flight, unregistered, incomplete.
std::string contestFlagsText(const ContestFlight& flight, Language language);

} // namespace vtl
