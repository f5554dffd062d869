// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/contest_texts.h"

#include "core/files/flight_log.h"
#include "core/shell/text_tables.h"

#include <array>

namespace vtl {
namespace {

constexpr std::array<TextPair, static_cast<size_t>(ContestCaption::Count)> kContestCaptions = {{
    {"Zawody", "Contest"},
    {"Nowe…", "New…"},
    {"Otwórz…", "Open…"},
    {"Ostatnie", "Recent"},
    {"Zawodnicy…", "Competitors…"},
    {"Kolejka", "Round"},
    {"Pobierz następny", "Download next"},
    {"Brak otwartych zawodów", "No contest open"},
    {"Nowe zawody", "New contest"},
    {"Folder", "Folder"},
    {"Nazwa", "Name"},
    {"Zasada punktacji", "Scoring rule"},
    {"Kolejki", "Rounds"},
    {"Najlepsze kolejki", "Best rounds"},
    {"wszystkie", "all"},
    {"powtórzony odczyt – nie liczony", "duplicate download – not counted"},
    {"drugi lot w kolejce", "second flight in the round"},
    {"spoza listy zawodników", "not on the competitors' list"},
    {"lot niedokończony", "incomplete flight"},
    {"brak wyniku", "no score"},
    {"Miejsce", "Rank"},
    {"Nr", "No."},
    {"Zawodnik", "Competitor"},
    {"Kolejka", "Round"},
    {"Suma", "Total"},
    {"Pobieraj po podłączeniu rejestratora", "Download when a logger is plugged in"},
    {"Zeruj rejestrator po pobraniu", "Zero the logger after a download"},
    {"W tych zawodach każdy rejestrator będzie zerowany bez pytania, gdy jego lot zostanie "
     "pobrany w całości i zapisany. Włączyć?",
     "In this contest, every logger will be zeroed without asking once its flight has been "
     "downloaded whole and kept. Turn this on?"},
    {"rejestrator wyzerowany", "logger zeroed"},
    {"rejestrator NIE wyzerowany", "logger NOT zeroed"},
    {"Liczy się lot", "Counted flight"},
    {"Drukuj wyniki…", "Print results…"},
    {"Zapisz wyniki CSV…", "Save results CSV…"},
    {"Zapisano wyniki:", "Results saved:"},
    {"Czekam na rejestrator na porcie USB…", "Waiting for a logger on a USB port…"},
}};

constexpr bool complete() {
    for (const TextPair& pair : kContestCaptions) {
        if (pair.polish == nullptr || pair.english == nullptr) {
            return false;
        }
    }
    return true;
}
static_assert(complete(), "every contest caption has a Polish and an English text");

} // namespace

std::string caption(ContestCaption which, Language language) {
    return kContestCaptions[static_cast<size_t>(which)].in(language);
}

int contestScoreDecimals(ScoringRule::Kind kind) {
    return kind == ScoringRule::Kind::Duration ? 2 : 1;
}

std::string contestScoreText(const std::optional<double>& score, ScoringRule::Kind kind,
                             char decimalSeparator) {
    if (!score) {
        return std::string();
    }
    return figureText(score, contestScoreDecimals(kind), decimalSeparator) +
           (kind == ScoringRule::Kind::Duration ? " s" : " m");
}

std::string contestFlagsText(const ContestFlight& flight, Language language) {
    std::string text;
    auto add = [&](bool set, ContestCaption which) {
        if (set) {
            text += (text.empty() ? "" : " · ") + caption(which, language);
        }
    };
    add(flight.duplicate, ContestCaption::FlagDuplicate);
    add(flight.secondFlight, ContestCaption::FlagSecondFlight);
    add(flight.unregistered, ContestCaption::FlagUnregistered);
    add(flight.incomplete, ContestCaption::FlagIncomplete);
    return text;
}

} // namespace vtl
