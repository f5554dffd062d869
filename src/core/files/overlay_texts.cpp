// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/overlay_texts.h"

#include "core/shell/text_tables.h"

#include <array>

namespace vtl {
namespace {

constexpr std::array<TextPair, static_cast<size_t>(OverlayCaption::Count)> kOverlayCaptions = {{
    {"Nakładka lotów", "Flight overlay"},
    {"Nałóż", "Overlay"},
    {"Zaznacz od 2 do 8 lotów, aby je nałożyć", "Select 2 to 8 flights to overlay them"},
    {"Zaznaczone loty: %d; nałożyć można najwyżej 8",
     "%d flights selected; an overlay holds at most 8"},
    {"od startu", "aligned at start"},
    {"jak zapisano", "as recorded"},
    {"Zapisz obraz…", "Save picture…"},
    {"Drukuj…", "Print…"},
    {"Zapisz nakładkę…", "Save overlay…"},
    {"Otwórz nakładkę…", "Open overlay…"},
    {"Data", "Date"},
    {"Loty nałożone od startu", "Flights overlaid at their start"},
    {"Loty nałożone jak zapisano", "Flights overlaid as recorded"},
    {"Zapisz nakładkę", "Save overlay"},
    {"Otwórz nakładkę", "Open overlay"},
    {"Nakładki lotów (*.vtlov)", "Flight overlays (*.vtlov)"},
    {"To nie jest plik nakładki: %s", "Not an overlay file: %s"},
    {"Zapisano nakładkę: ", "Overlay saved: "},
}};

constexpr bool complete() {
    for (const TextPair& pair : kOverlayCaptions) {
        if (pair.polish == nullptr || pair.english == nullptr) {
            return false;
        }
    }
    return true;
}
static_assert(complete(), "every overlay caption has a Polish and an English text");

} // namespace

std::string caption(OverlayCaption which, Language language) {
    return kOverlayCaptions[static_cast<size_t>(which)].in(language);
}

std::string overlayChartTitle(OverlayAlignment alignment, Language language) {
    return caption(alignment == OverlayAlignment::Start ? OverlayCaption::ChartTitleStart
                                                        : OverlayCaption::ChartTitleRecorded,
                   language);
}

} // namespace vtl
