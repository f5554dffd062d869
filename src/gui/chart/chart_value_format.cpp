// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_value_format.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace vtl::chart {

QString formatValue(double value, const QString& pattern) {
    const int point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPattern = point < 0 ? pattern : pattern.left(point);
    const QString fractionPattern = point < 0 ? QString() : pattern.mid(point + 1);
    const int minimumIntegerDigits = static_cast<int>(integerPattern.count(QLatin1Char('0')));
    const bool grouped = integerPattern.contains(QLatin1Char(','));
    int maximumDecimals = 0;
    int minimumDecimals = 0;
    while (maximumDecimals < fractionPattern.size() &&
           (fractionPattern[maximumDecimals] == QLatin1Char('0') ||
            fractionPattern[maximumDecimals] == QLatin1Char('#'))) {
        if (fractionPattern[maximumDecimals++] == QLatin1Char('0')) {
            minimumDecimals = maximumDecimals;
        }
    }
    const QString suffix = fractionPattern.mid(maximumDecimals);

    const QString digits = QString::number(std::fabs(value), 'f', maximumDecimals);
    const int digitsPoint = digits.indexOf(QLatin1Char('.'));
    QString integer = digitsPoint < 0 ? digits : digits.left(digitsPoint);
    QString fraction = digitsPoint < 0 ? QString() : digits.mid(digitsPoint + 1);
    while (fraction.size() > minimumDecimals && fraction.endsWith(QLatin1Char('0'))) {
        fraction.chop(1);
    }
    const bool zero =
        integer == QLatin1String("0") && std::all_of(fraction.begin(), fraction.end(),
                                                     [](QChar c) { return c == QLatin1Char('0'); });
    if (integer == QLatin1String("0") && minimumIntegerDigits == 0) {
        integer.clear();
    }
    while (integer.size() < minimumIntegerDigits) {
        integer.prepend(QLatin1Char('0'));
    }
    const QLocale locale;
    if (grouped) {
        for (auto i = integer.size() - 3; i > 0; i -= 3) {
            integer.insert(i, locale.groupSeparator());
        }
    }
    if (integer.isEmpty() && fraction.isEmpty()) {
        return QString();
    }
    QString text = (value < 0 && !zero) ? QStringLiteral("-") : QString();
    text += integer;
    if (!fraction.isEmpty()) {
        text += locale.decimalPoint() + fraction;
    }
    return text + suffix;
}

} // namespace vtl::chart
