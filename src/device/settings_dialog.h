#pragma once

#include <QDialog>

// The device settings dialog: port, trigger level, competitor number, sampling rate, manual
// zeroing and start delay.
class TFormUstawienia : public QDialog {
    Q_OBJECT
public:
    explicit TFormUstawienia(QWidget* parent = nullptr);
};
