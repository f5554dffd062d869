// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/flight/filter_dialog.h"

#include "core/device/setup_limits.h"
#include "core/flight/smoothing_filter.h"
#include "core/shell/settings_keeper.h"
#include "core/shell/text_tables.h"
#include "gui/look/window_look.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace {

constexpr int kLeft = 32;
constexpr int kLabelSpacing = 48;
constexpr int kEditBelowLabel = 16;
constexpr int kEditWidth = 81;
constexpr int kEditHeight = 21;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kDesignWidth = 175;
constexpr int kHeight = 347;
// What a title bar takes besides the title: the window's icon and its buttons.
constexpr int kTitleBarRoom = 110;

// Stored when an edit's text is not a whole number; not all of them are the defaults.
constexpr int32_t kPreCutFallback = 350;
constexpr int32_t kFinalCutFallback = 350;
constexpr int32_t kPreFilterFallback = 8;
constexpr int32_t kFinalFilterFallback = 13;

QLabel* label(QWidget* parent, const char* name, int row) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(kLeft, 24 + row * kLabelSpacing);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int row) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(kLeft, 24 + row * kLabelSpacing + kEditBelowLabel, kEditWidth, kEditHeight);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, int top) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(kLeft, top, kButtonWidth, kButtonHeight);
    // Enter in an edit presses neither button.
    b->setAutoDefault(false);
    return b;
}

int32_t wholeNumberOr(const QLineEdit& field, int32_t fallback) {
    return vtl::wholeNumberFromText(field.text().toStdString()).value_or(fallback);
}

} // namespace

TF_Filtr::TF_Filtr(vtl::SettingsKeeper& settings, const vtl::Language& language, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_language(language) {
    setObjectName(QStringLiteral("F_Filtr"));
    setWindowTitle(QStringLiteral("Vantorel-Filtr"));
    vtl::applyDesignFont(*this);
    // The design's width leaves the title bar room for a few letters of the title only.
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true); // as most window managers draw titles
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle());
    setFixedSize(std::max(kDesignWidth, titleWidth + kTitleBarRoom), kHeight);
    move(670, 283);
    buildControls();
    FormCreate();
}

void TF_Filtr::buildControls() {
    Label1 = label(this, "Label1", 0);
    Ed_Obc_Zgr = edit(this, "Ed_Obc_Zgr", 0);
    Label2 = label(this, "Label2", 1);
    Ed_Filtr1 = edit(this, "Ed_Filtr1", 1);
    Label3 = label(this, "Label3", 2);
    Ed_ObcDokl = edit(this, "Ed_ObcDokl", 2);
    Label4 = label(this, "Label4", 3);
    Ed_Filtr2 = edit(this, "Ed_Filtr2", 3);
    Button2 = button(this, "Button2", 216);
    Button1 = button(this, "Button1", 272);
    FormActivate();

    QWidget* const tabOrder[] = {Ed_Obc_Zgr, Ed_Filtr1, Ed_ObcDokl, Ed_Filtr2, Button1, Button2};
    for (size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    connect(Button1, &QPushButton::clicked, this, &TF_Filtr::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TF_Filtr::Button2Click);
}

void TF_Filtr::FormCreate() {
    const vtl::ProgramSettings& s = m_settings.settings();
    Ed_Obc_Zgr->setText(QString::number(s.preCutCm));
    Ed_ObcDokl->setText(QString::number(s.finalCutCm));
    Ed_Filtr1->setText(QString::number(s.preFilterLength));
    Ed_Filtr2->setText(QString::number(s.finalFilterLength));
}

void TF_Filtr::FormActivate() {
    using vtl::FilterCaption;
    auto text = [this](FilterCaption which) {
        return QString::fromStdString(vtl::caption(which, m_language));
    };
    Label1->setText(text(FilterCaption::PreCut));
    Label3->setText(text(FilterCaption::FinalCut));
    Label2->setText(text(FilterCaption::PreFilter));
    Label4->setText(text(FilterCaption::FinalFilter));
    Button2->setText(text(FilterCaption::Save));
    Button1->setText(text(FilterCaption::Default));
    for (QLabel* l : {Label1, Label2, Label3, Label4}) {
        l->adjustSize();
    }
}

void TF_Filtr::Button1Click() {
    const vtl::FilterParameters defaults;
    Ed_Obc_Zgr->setText(QString::number(defaults.preCutCm));
    Ed_ObcDokl->setText(QString::number(defaults.finalCutCm));
    Ed_Filtr1->setText(QString::number(defaults.preFilterLength));
    Ed_Filtr2->setText(QString::number(defaults.finalFilterLength));
}

void TF_Filtr::Button2Click() {
    vtl::ProgramSettings& s = m_settings.settings();
    s.preCutCm = wholeNumberOr(*Ed_Obc_Zgr, kPreCutFallback);
    s.finalCutCm = wholeNumberOr(*Ed_ObcDokl, kFinalCutFallback);
    s.preFilterLength = wholeNumberOr(*Ed_Filtr1, kPreFilterFallback);
    s.finalFilterLength = wholeNumberOr(*Ed_Filtr2, kFinalFilterFallback);
    m_settings.save();
    // The edits show what the filter will use, so a fallback never hides behind the typed text.
    FormCreate();
    accept();
}

void TF_Filtr::showEvent(QShowEvent* event) {
    FormActivate();
    QDialog::showEvent(event);
}

bool TF_Filtr::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QDialog::event(event);
}
