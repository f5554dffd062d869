// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vtl {
class SettingsKeeper;
} // namespace vtl

// The filter dialog: the four parameters of the smoothing filter. Created once at start; the
// edits take the stored parameters then and after each save, so unsaved text is still there when
// it is opened again, while saved text shows the number it was stored as.
class TF_Filtr : public QDialog {
    Q_OBJECT
public:
    TF_Filtr(vtl::SettingsKeeper& settings, const vtl::Language& language,
             QWidget* parent = nullptr);

    void FormCreate();
    void FormActivate();
    void Button1Click();
    void Button2Click();

    QLabel* Label1 = nullptr;
    QLineEdit* Ed_Obc_Zgr = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Ed_Filtr1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Ed_ObcDokl = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Ed_Filtr2 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildControls();

    vtl::SettingsKeeper& m_settings;
    const vtl::Language& m_language;
};
