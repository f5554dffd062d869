// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

class QString;
class QWidget;

namespace vtl {

// The windows are laid out in pixels and keep their design fonts (MS Sans Serif, 11 pixels)
// whatever the screen's font size.
void applyDesignFont(QWidget& window);

// A design face at a pixel size. Where the face is not installed, a face of its widths stands in:
// MS Sans Serif is missing on Linux, and the face fontconfig would pick for it (DejaVu Sans) is so
// much wider that the captions no longer fit their buttons.
QFont designFont(const QString& family, int pixels, bool bold = false);

// A narrow face for fields whose texts are wider than the design's Arial leaves room for.
QFont narrowFont(int pixels);

} // namespace vtl
