#pragma once

#include <QDialog>

// The filter dialog: the four parameters of the smoothing filter.
class TF_Filtr : public QDialog {
    Q_OBJECT
public:
    explicit TF_Filtr(QWidget* parent = nullptr);
};
