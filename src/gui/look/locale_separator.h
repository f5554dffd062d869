// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

// The decimal separator of the user's regional settings, where it is a single plain character.
inline char localeDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                          : '.';
}
