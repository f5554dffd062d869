#include "device/settings_dialog.h"

#include "shell/window_look.h"

TFormUstawienia::TFormUstawienia(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormUstawienia"));
    setWindowTitle(QStringLiteral("Ustawienia"));
    vtl::applyDesignFont(*this);
    setFixedSize(196, 553);
    move(231, 201);
}
