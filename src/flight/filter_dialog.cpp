#include "flight/filter_dialog.h"

#include "shell/window_look.h"

TF_Filtr::TF_Filtr(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("F_Filtr"));
    setWindowTitle(QStringLiteral("Vantorel-Filtr"));
    vtl::applyDesignFont(*this);
    setFixedSize(175, 347);
    move(670, 283);
}
