// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_mark_boxes.h"

#include <algorithm>

namespace vtl::chart {

bool MarkBoxes::overlaps(const QRectF& box) const {
    // Only boxes whose left edge lies within the widest box's width of this one can reach it.
    auto it =
        std::lower_bound(m_boxes.begin(), m_boxes.end(), box.left() - m_widest,
                         [](const QRectF& taken, double left) { return taken.left() < left; });
    for (; it != m_boxes.end() && it->left() <= box.right(); ++it) {
        if (it->intersects(box)) {
            return true;
        }
    }
    return false;
}

void MarkBoxes::add(const QRectF& box) {
    const auto at =
        std::upper_bound(m_boxes.begin(), m_boxes.end(), box.left(),
                         [](double left, const QRectF& taken) { return left < taken.left(); });
    m_boxes.insert(at, box);
    m_widest = std::max(m_widest, box.width());
}

} // namespace vtl::chart
