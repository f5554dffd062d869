// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>

#include <vector>

namespace vtl::chart {

// The boxes of the value marks placed in one layout, of every curve, each widened by the gap
// kept around it and ordered by its left edge, so that a new mark looks only at its neighbours.
class MarkBoxes {
public:
    bool overlaps(const QRectF& box) const;
    void add(const QRectF& box);

private:
    std::vector<QRectF> m_boxes;
    double m_widest = 0;
};

} // namespace vtl::chart
