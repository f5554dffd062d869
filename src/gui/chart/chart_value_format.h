// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vtl::chart {

// Formats a value the way the chart's number patterns read: '0' a required digit, '#' an
// optional one, ',' thousands grouping, '.' the locale's decimal point, trailing text as is.
// Exact halves round away from zero.
QString formatValue(double value, const QString& pattern);

} // namespace vtl::chart
