// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// While a flight transfer runs, the main window reacts to nothing but its Cancel button and the
// Esc key, which ask the transfer to stop. Windows of their own (message boxes) work as usual.
// Installed on the application for its lifetime.
class TransferInputGuard : public QObject {
    Q_OBJECT
public:
    TransferInputGuard(QWidget& window, QWidget& cancelButton);
    ~TransferInputGuard() override;

    bool cancelRequested() const { return m_cancelRequested; }
    void requestCancel() { m_cancelRequested = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    QWidget& m_cancelButton;
    bool m_cancelRequested = false;
};
