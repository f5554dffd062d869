// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// The info window: program and maker lines, shown modally from the menu.
class TFoInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFoInfo(QWidget* parent = nullptr);
};
