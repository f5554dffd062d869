// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/help/info_window.h"

#include "gui/look/window_look.h"

#include <QFont>
#include <QLabel>

namespace {

QLabel* infoLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  const QString& family, int pixels, bool bold = false, bool italic = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(family);
    font.setStyleHint(family == QLatin1String("Courier New") ? QFont::Monospace : QFont::Serif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

TFoInfo::TFoInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FoInfo"));
    setWindowTitle(QStringLiteral("Vantorel USB"));
    vtl::applyDesignFont(*this);
    setFixedSize(339, 283);
    move(460, 384);

    const QString times = QStringLiteral("Times New Roman");
    infoLabel(this, "Label6", QStringLiteral("Ver. 12.2013"), 80, 16, QStringLiteral("Courier New"),
              24, true);
    QLabel* maker =
        infoLabel(this, "Label1", QStringLiteral("Vantorel"), 104, 64, times, 37, true, true);
    QPalette maroon = maker->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    maker->setPalette(maroon);
    infoLabel(this, "Label2", QStringLiteral("Polska"), 136, 112, times, 21);
    infoLabel(this, "Label3", QStringLiteral("www.vantorel.example"), 96, 144, times, 19);
    infoLabel(this, "Label4", QStringLiteral("team@vantorel.example"), 48, 176, times, 21);
    infoLabel(this, "Label5", QStringLiteral("tel. +48 12 000 00 00"), 88, 208, times, 21);
    // Free software: the licence is named where users look for who made the program.
    infoLabel(this, "LicenceLabel", QStringLiteral("GNU GPL 3.0-or-later"), 88, 248, times, 16,
              false, true);
}
