// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/look/window_look.h"

#include <QString>
#include <QStringList>
#include <QWidget>

namespace vtl {

QFont designFont(const QString& family, int pixels, bool bold) {
    QFont font;
    if (family == QLatin1String("MS Sans Serif")) {
        font.setFamilies({family, QStringLiteral("Microsoft Sans Serif"),
                          QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    } else {
        font.setFamilies({family});
    }
    font.setStyleHint(family == QLatin1String("Courier New")       ? QFont::Monospace
                      : family == QLatin1String("Times New Roman") ? QFont::Serif
                                                                   : QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Arial Narrow where Office installed it, its metric twin from fonts-liberation elsewhere.
QFont narrowFont(int pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(false); // not the bold of a panel it sits in
    return font;
}

void applyDesignFont(QWidget& window) {
    window.setFont(designFont(QStringLiteral("MS Sans Serif"), 11));
}

} // namespace vtl
