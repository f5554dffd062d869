// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window_form.h"

#include "core/files/overlay_texts.h"
#include "gui/chart/chart_view.h"
#include "gui/look/window_look.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

namespace {

const QColor kSilver(192, 192, 192);
const QColor kScrollBarGrey(200, 200, 200);
const QColor kMaroon(128, 0, 0);

QFont pixelFont(const QString& family, int pixels, bool bold = false) {
    return vtl::designFont(family, pixels, bold);
}

const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QString kArial = QStringLiteral("Arial");

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int top,
                    int width, int height, bool bold = false) {
    auto* b = place(new QPushButton(text, parent), name, left, top, width, height);
    b->setFont(pixelFont(kSansSerif, 13, bold));
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top,
              int pixels = 12) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(pixelFont(kArial, pixels));
    l->move(left, top);
    l->adjustSize();
    QPalette black = l->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(black);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int left, int top, int width, int height,
                int pixels, bool bold = false, bool readOnly = true) {
    auto* e = place(new QLineEdit(parent), name, left, top, width, height);
    e->setFont(pixelFont(kArial, pixels, bold));
    e->setReadOnly(readOnly);
    // The fields are laid out for thin borders.
    e->setTextMargins(-2, 0, -2, 0);
    return e;
}

PanelGroupBox* group(QWidget* parent, const char* name, const QString& title, int left, int width,
                     const QFont& font, const QColor& titleColour) {
    auto* g = place(new PanelGroupBox(title, parent), name, left, 0, width, 113);
    g->setFont(font);
    QPalette palette = g->palette();
    palette.setColor(QPalette::WindowText, titleColour);
    palette.setColor(QPalette::Window, kSilver);
    g->setPalette(palette);
    return g;
}

QAction* item(QMenu* menu, const char* name, const QString& text, bool checkable = false,
              bool checked = false) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    action->setChecked(checked);
    return action;
}

} // namespace

MainWindowForm::MainWindowForm(QMainWindow& window) {
    client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    window.setCentralWidget(client);
    buildTopRow();
    buildFlightPanel();
    buildComparisonPanel();
    Chart1 = place(new ChartView(client), "Chart1", 8, 120, 1265, 745);
    buildFiguresLines();
    buildIndicators();
    buildMenu(window);
    buildStatusLine(window);
}

void MainWindowForm::buildTopRow() {
    B_Odczyt_Vantorelu = button(client, "B_Odczyt_Vantorelu", QStringLiteral("Odczyt   Vantorelu"),
                                8, 8, 145, 41, true);
    BZerowanie = button(client, "BZerowanie", QStringLiteral("Zerowanie"), 8, 70, 81, 27);
    B_Filtr_Vtl = button(client, "B_Filtr_Vtl", QStringLiteral("Filtr"), 96, 70, 57, 27);

    GBDysk_ZapisOdczyt = group(client, "GBDysk_ZapisOdczyt", QStringLiteral("Dysk - zapis/odczyt"),
                               528, 129, pixelFont(kArial, 13), Qt::black);
    BZapisz = button(GBDysk_ZapisOdczyt, "BZapisz", QStringLiteral("Zapisz"), 16, 30, 97, 25);
    BOdczyt = button(GBDysk_ZapisOdczyt, "BOdczyt", QStringLiteral("Odczyt"), 16, 69, 97, 25);

    B_Porownanie =
        button(client, "B_Porownanie", QStringLiteral("Porównanie"), 864, 8, 97, 41, true);
    B_Filtr_por = button(client, "B_Filtr_por", QStringLiteral("Filtr"), 864, 72, 75, 25);
}

void MainWindowForm::buildFlightPanel() {
    GroupB_Vtl = group(client, "GroupB_Vtl", QStringLiteral("Vantorel"), 168, 281,
                       pixelFont(kArial, 16, true), Qt::red);
    QWidget* g = GroupB_Vtl;
    LMax1 = label(g, "LMax1", QStringLiteral("Maximum"), 12, 18);
    E_MaxGl = edit(g, "E_MaxGl", 13, 32, 68, 27, 16, true);
    label(g, "LMetres1", QStringLiteral("m"), 84, 40);
    LMin1 = label(g, "LMin1", QStringLiteral("Minimum"), 12, 66);
    EMinimum = edit(g, "EMinimum", 13, 80, 68, 25, 15);
    label(g, "LMetres2", QStringLiteral("m"), 84, 88);
    LZaw1 = label(g, "LZaw1", QStringLiteral("Nr.Zawodnika"), 104, 18);
    E_NrZawodnika = edit(g, "E_NrZawodnika", 104, 32, 57, 26, 16, false, false);
    L_NumSer1 = label(g, "L_NumSer1", QStringLiteral("Nr.Seryjny"), 104, 66);
    E_NrSeryjny = edit(g, "E_NrSeryjny", 104, 80, 57, 25, 15);
    LTemp1 = label(g, "LTemp1", QStringLiteral("Temperatura"), 189, 18);
    E_TempGl = edit(g, "E_TempGl", 189, 32, 68, 24, 13);
    label(g, "LCelsius1", QStringLiteral("C"), 261, 40);
    LProbk1 = label(g, "LProbk1", QStringLiteral("Próbkowanie"), 189, 66);
    E_probkGl = edit(g, "E_probkGl", 188, 80, 61, 24, 13);
    // "10 pom/sek" in the design's Arial is wider than the field.
    E_probkGl->setFont(vtl::narrowFont(13));
}

void MainWindowForm::buildComparisonPanel() {
    GroupB_Por = group(client, "GroupB_Por", QStringLiteral("Plik"), 976, 297,
                       pixelFont(kArial, 16, true), Qt::yellow);
    QWidget* g = GroupB_Por;
    LMax2 = label(g, "LMax2", QStringLiteral("Maximum"), 16, 18);
    E_Max_Por = edit(g, "E_Max_Por", 13, 32, 68, 25, 15);
    label(g, "LMetres3", QStringLiteral("m"), 85, 40);
    LMin2 = label(g, "LMin2", QStringLiteral("Minimum"), 13, 66);
    E_Min_Por = edit(g, "E_Min_Por", 13, 80, 68, 25, 15);
    label(g, "LMetres4", QStringLiteral("m"), 85, 88);
    LZaw2 = label(g, "LZaw2", QStringLiteral("Nr.Zawodnika"), 112, 18);
    E_Zaw_Por = edit(g, "E_Zaw_Por", 112, 32, 57, 25, 15);
    L_NumSer2 = label(g, "L_NumSer2", QStringLiteral("Nr.Seryjny"), 112, 66);
    E_NrS_Por = edit(g, "E_NrS_Por", 112, 80, 57, 25, 15);
    LTemp2 = label(g, "LTemp2", QStringLiteral("Temperatura"), 205, 18);
    E_TempPor = edit(g, "E_TempPor", 205, 32, 68, 24, 13);
    label(g, "LCelsius2", QStringLiteral("C"), 277, 40);
    LProbk2 = label(g, "LProbk2", QStringLiteral("Próbkowanie"), 205, 66);
    E_probkPor = edit(g, "E_probkPor", 205, 80, 60, 24, 13);
    E_probkPor->setFont(vtl::narrowFont(13));
}

// The layout moves them under the chart on every resize; the text can be copied.
void MainWindowForm::buildFiguresLines() {
    auto line = [this](const char* name) {
        auto* l = new QLabel(client);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(pixelFont(kArial, 13));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    LFigures1 = line("LFigures1");
    LFigures2 = line("LFigures2");
    QPalette maroon = LFigures2->palette();
    maroon.setColor(QPalette::WindowText, kMaroon);
    LFigures2->setPalette(maroon);
}

void MainWindowForm::buildIndicators() {
    auto indicator = [this](const char* name, const QString& text, int left, int top, int width) {
        QLineEdit* e = edit(client, name, left, top, width, 32, 21);
        e->setText(text);
        QPalette palette = e->palette();
        palette.setColor(QPalette::Base, kScrollBarGrey);
        e->setPalette(palette);
        e->setFocusPolicy(Qt::NoFocus);
        e->hide();
        e->raise();
        return e;
    };
    ECzekaj = indicator("ECzekaj", QStringLiteral("    Czekaj"), 560, 272, 113);
    E_PobDan = indicator("E_PobDan", QStringLiteral("   Odczyt danych"), 520, 232, 177);
    B_Przerwij = button(client, "B_Przerwij", QStringLiteral("Przerwij"), 681, 272, 89, 32);
    B_Przerwij->setFocusPolicy(Qt::NoFocus);
    B_Przerwij->hide();
    B_Przerwij->raise();
    Timer1 = new QTimer(client);
    Timer1->setObjectName(QStringLiteral("Timer1"));
}

void MainWindowForm::buildMenu(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    Ustawienia1 = bar->addMenu(QStringLiteral("Ustawienia"));
    Ustawienia1->setObjectName(QStringLiteral("Ustawienia1"));
    Vantorel1 = item(Ustawienia1, "Vantorel1", QStringLiteral("Vantorel"));
    Filtr3 = item(Ustawienia1, "Filtr3", QStringLiteral("Filtr"));
    Se1 = item(Ustawienia1, "Se1", QStringLiteral("Setup Default"));

    Widok1 = bar->addMenu(QStringLiteral("Wykresy"));
    Widok1->setObjectName(QStringLiteral("Widok1"));
    Przyspieszenie1 =
        item(Widok1, "Przyspieszenie1", QStringLiteral("  Przyspieszenie"), true, true);
    Porownanie1 = item(Widok1, "Porownanie1", QStringLiteral("  Porównanie"), true, true);
    Warto1 = item(Widok1, "Warto1", QStringLiteral("Wartosci"), true, false);
    Dziennik1 = item(Widok1, "Dziennik1", QStringLiteral("Dziennik lotów"));
    Dziennik1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    Nakladka1 = item(Widok1, "Nakladka1",
                     QString::fromStdString(
                         vtl::caption(vtl::OverlayCaption::OpenOverlay, vtl::Language::Polish)));

    E1 = bar->addMenu(QStringLiteral("Print/Export"));
    E1->setObjectName(QStringLiteral("E1"));
    UstawDrukarke1 = item(E1, "UstawDrukarke1", QStringLiteral("Ustaw Drukarke"));
    Drukuj1 = item(E1, "Drukuj1", QStringLiteral("Drukuj"));
    ZapiszObraz1 = item(E1, "ZapiszObraz1", QStringLiteral("Zapisz Obraz"));
    ZapiszdoExcela1 = item(E1, "ZapiszdoExcela1", QStringLiteral("Zapisz do Excela"));

    Zawody1 = bar->addAction(QStringLiteral("Zawody"));
    Zawody1->setObjectName(QStringLiteral("Zawody1"));

    MenuJezyk = bar->addMenu(QStringLiteral("Język/Language"));
    MenuJezyk->setObjectName(QStringLiteral("MenuJezyk"));
    Polski1 = item(MenuJezyk, "Polski1", QStringLiteral("Polski"), true, false);
    English1 = item(MenuJezyk, "English1", QStringLiteral("English"), true, true);

    Info1 = bar->addAction(QStringLiteral("Info"));
    Info1->setObjectName(QStringLiteral("Info1"));
    Help1 = bar->addAction(QStringLiteral("Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
}

// The status bar takes its height from the window's bottom, so the client area that the layout
// divides between the top row and the chart ends above it and the chart is never covered.
void MainWindowForm::buildStatusLine(QMainWindow& window) {
    StatusBar1 = window.statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    LStatus = new QLabel(StatusBar1);
    LStatus->setObjectName(QStringLiteral("LStatus"));
    LStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LStatus->setIndent(6); // in line with the chart's left edge
    // A normal widget rather than a temporary message: the menus' empty status tips would
    // clear a message as soon as the pointer passes over them.
    StatusBar1->addWidget(LStatus, 1);
}
