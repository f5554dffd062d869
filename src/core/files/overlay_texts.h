// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/flight_overlay.h"
#include "core/shell/language.h"

#include <string>

namespace vtl {

// What an overlay description file is called on disk.
inline constexpr const char* kOverlaySuffix = ".vtlov";

// The overlay window's captions and the flight log's button that opens it.
enum class OverlayCaption {
    WindowTitle, // followed by the overlay's name, when it has one
    LogButton,   // the flight log's button
    LogButtonHint,
    LogTooManyRows, // %d: the rows selected
    AlignStart,
    AlignRecorded,
    SavePicture,
    Print,
    SaveOverlay,
    OpenOverlay,
    DateColumn,
    ChartTitleStart,
    ChartTitleRecorded,
    SaveDialog,
    OpenDialog,
    FilesFilter,
    NotAnOverlay, // %s: a file that is no overlay description
    OverlaySaved, // followed by the file's path
    Count
};

std::string caption(OverlayCaption which, Language language);

// The chart's title line for an overlay of this alignment.
std::string overlayChartTitle(OverlayAlignment alignment, Language language);

} // namespace vtl
