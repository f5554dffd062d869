#pragma once

class QWidget;

namespace vtl {

// The windows are laid out in pixels and keep their design fonts (MS Sans Serif, 11 pixels)
// whatever the screen's font size.
void applyDesignFont(QWidget& window);

} // namespace vtl
