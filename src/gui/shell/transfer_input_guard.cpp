// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/transfer_input_guard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>
#include <QWidget>

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

TransferInputGuard::TransferInputGuard(QWidget& window, QWidget& cancelButton)
    : m_window(window), m_cancelButton(cancelButton) {
    qApp->installEventFilter(this);
}

TransferInputGuard::~TransferInputGuard() {
    qApp->removeEventFilter(this);
}

bool TransferInputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type())) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (auto* shortcut = qobject_cast<QShortcut*>(watched)) {
        widget = qobject_cast<QWidget*>(shortcut->parent());
    }
    // Other shortcuts are those of menu items and actions, which belong to the main window.
    const bool ofMainWindow =
        widget == nullptr ? event->type() == QEvent::Shortcut : widget->window() == &m_window;
    if (!ofMainWindow) {
        return false;
    }
    if (widget == &m_cancelButton) {
        return false;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_cancelRequested = true;
    }
    return true;
}
