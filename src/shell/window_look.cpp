#include "shell/window_look.h"

#include <QFont>
#include <QWidget>

namespace vtl {

void applyDesignFont(QWidget& window) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    window.setFont(font);
}

} // namespace vtl
