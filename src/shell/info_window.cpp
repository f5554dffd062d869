#include "shell/info_window.h"

#include "shell/window_look.h"

TFoInfo::TFoInfo(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FoInfo"));
    setWindowTitle(QStringLiteral("Vantorel USB"));
    vtl::applyDesignFont(*this);
    setFixedSize(339, 283);
    move(460, 384);
}
