// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/panel_group_box.h"

#include "core/files/measurement_file.h"

#include <QDir>
#include <QEvent>
#include <QFontMetrics>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace {

constexpr int kTitleLeft = 8;
constexpr int kTitlePadding = 2;
constexpr int kFrameWidth = 2;

} // namespace

PanelGroupBox::PanelGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
    placeFrameAtTitle();
}

// A style sheet rather than the style's own drawing: Fusion, for one, draws the frame below the
// whole title, across the labels of the top row.
void PanelGroupBox::placeFrameAtTitle() {
    const QString sheet =
        QStringLiteral("QGroupBox { border: %1px groove palette(mid); margin-top: %2px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: %3px;"
                       " padding: 0 %4px; background-color: palette(window); }")
            .arg(kFrameWidth)
            .arg(fontMetrics().height() / 2)
            .arg(kTitleLeft)
            .arg(kTitlePadding);
    // Setting the sheet changes the font's resolution once more: only a new sheet is set.
    if (styleSheet() != sheet) {
        setStyleSheet(sheet);
    }
}

QString PanelGroupBox::shownTitle() const {
    const QString full = title();
    const int room = width() - 2 * (kTitleLeft + kTitlePadding);
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(full) <= room) {
        return full;
    }
    // The extension says what kind of file it is; the middle of the name is what goes.
    const int dot = full.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 ? full.mid(dot) : QString();
    const QString stem = full.left(full.size() - extension.size());
    return metrics.elidedText(stem, Qt::ElideMiddle, room - metrics.horizontalAdvance(extension)) +
           extension;
}

void PanelGroupBox::setFilePath(const QString& path) {
    m_filePath = path;
}

bool PanelGroupBox::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The title may have changed since the file was loaded (a download, another language).
        const bool namesFile =
            !m_filePath.isEmpty() &&
            QString::fromStdString(vtl::fileTitle(m_filePath.toStdString())) == title();
        setToolTip(namesFile ? QDir::toNativeSeparators(m_filePath) : QString());
    }
    return QGroupBox::event(event);
}

void PanelGroupBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        placeFrameAtTitle();
    }
    QGroupBox::changeEvent(event);
}

void PanelGroupBox::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.text = shownTitle();
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}
