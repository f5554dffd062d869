// SPDX-License-Identifier: GPL-3.0-or-later
// The measuring cursors A and B, and where the pointer stands over the plot.

#include "gui/chart/chart_view_impl.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

const QColor kCursorColour(0, 110, 0);

} // namespace

void ChartView::Impl::buildCursors() {
    plot->setMouseTracking(true);
    plot->setFocusPolicy(Qt::ClickFocus);
    QFont font = bottom->tickLabelFont();
    font.setBold(true);
    const QString names[2] = {QStringLiteral("A"), QStringLiteral("B")};
    for (size_t i = 0; i < cursorLines.size(); ++i) {
        QCPItemStraightLine* line = new QCPItemStraightLine(plot);
        line->setPen(QPen(kCursorColour, 1.5, Qt::DashLine));
        line->setVisible(false);
        cursorLines[i] = line;

        QCPItemText* label = new QCPItemText(plot);
        label->position->setTypeX(QCPItemPosition::ptPlotCoords);
        label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        label->position->setAxes(bottom, left);
        label->position->setAxisRect(plot->axisRect());
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setPadding(QMargins(3, 1, 3, 1));
        label->setFont(font);
        label->setColor(Qt::white);
        label->setBrush(QBrush(kCursorColour));
        label->setText(names[i]);
        label->setVisible(false);
        cursorLabels[i] = label;
    }
}

void ChartView::setCursorLine(CursorLine line, std::optional<int> point) {
    Impl& d = *m_impl;
    d.cursorPoints[line] = point;
    QCPItemStraightLine* item = d.cursorLines[line];
    QCPItemText* label = d.cursorLabels[line];
    item->setVisible(point.has_value());
    label->setVisible(point.has_value());
    if (point) {
        item->point1->setCoords(*point, 0);
        item->point2->setCoords(*point, 1);
        label->position->setCoords(*point, 0);
    }
    d.scheduleRedraw();
}

std::optional<int> ChartView::cursorLine(CursorLine line) const {
    return m_impl->cursorPoints[line];
}

void ChartView::Impl::hover(const QPoint& pos) {
    if (!plot->axisRect()->rect().contains(pos)) {
        leave();
        return;
    }
    if (redrawQueued) {
        redraw(); // the pixel arithmetic needs the axes as they will be seen
    }
    pointerInside = true;
    emit view.pointerMoved(bottom->pixelToCoord(pos.x()));
}

void ChartView::Impl::leave() {
    if (pointerInside) {
        pointerInside = false;
        emit view.pointerLeft();
    }
}

bool ChartView::Impl::cursorClick(const QMouseEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool a = modifiers.testFlag(Qt::ControlModifier);
    const bool b = modifiers.testFlag(Qt::ShiftModifier);
    const QPoint pos = event.position().toPoint();
    if (a == b || !plot->axisRect()->rect().contains(pos)) {
        return false;
    }
    emit view.cursorClicked(a ? CursorA : CursorB, bottom->pixelToCoord(pos.x()));
    return true;
}

bool ChartView::Impl::key(const QKeyEvent& event) {
    const int direction = event.key() == Qt::Key_Left ? -1 : (event.key() == Qt::Key_Right ? 1 : 0);
    if (direction == 0) {
        return false;
    }
    emit view.cursorKey(direction, event.modifiers().testFlag(Qt::ShiftModifier));
    return true;
}
