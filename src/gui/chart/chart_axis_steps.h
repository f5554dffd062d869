// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCPAxis;

namespace vtl::chart {

// The length of an axis in pixels as laid out, or close to it before the first layout.
double axisLength(const QCPAxis* axis);

// The smallest of base × 1, 2, 5, 10, 20, 50 … that is not below the minimum step.
double niceStep(double base, double minimumStep);

} // namespace vtl::chart
