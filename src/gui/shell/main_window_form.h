// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/shell/panel_group_box.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

class ChartView;
class QMainWindow;
class QWidget;

// The main window's controls at their design places, under the names the handlers use. Built in
// code; the window wires the handlers and the layout moves the top row on every resize.
struct MainWindowForm {
    explicit MainWindowForm(QMainWindow& window);

    QWidget* client = nullptr;

    QPushButton* B_Odczyt_Vantorelu = nullptr;
    QPushButton* BZerowanie = nullptr;
    QPushButton* B_Filtr_Vtl = nullptr;

    PanelGroupBox* GroupB_Vtl = nullptr;
    QLabel* LMax1 = nullptr;
    QLabel* LMin1 = nullptr;
    QLabel* LZaw1 = nullptr;
    QLabel* L_NumSer1 = nullptr;
    QLabel* LTemp1 = nullptr;
    QLabel* LProbk1 = nullptr;
    QLineEdit* E_MaxGl = nullptr;
    QLineEdit* EMinimum = nullptr;
    QLineEdit* E_NrZawodnika = nullptr;
    QLineEdit* E_NrSeryjny = nullptr;
    QLineEdit* E_TempGl = nullptr;
    QLineEdit* E_probkGl = nullptr;

    PanelGroupBox* GBDysk_ZapisOdczyt = nullptr;
    QPushButton* BZapisz = nullptr;
    QPushButton* BOdczyt = nullptr;

    QPushButton* B_Porownanie = nullptr;
    QPushButton* B_Filtr_por = nullptr;

    PanelGroupBox* GroupB_Por = nullptr;
    QLabel* LMax2 = nullptr;
    QLabel* LMin2 = nullptr;
    QLabel* LZaw2 = nullptr;
    QLabel* L_NumSer2 = nullptr;
    QLabel* LTemp2 = nullptr;
    QLabel* LProbk2 = nullptr;
    QLineEdit* E_Max_Por = nullptr;
    QLineEdit* E_Min_Por = nullptr;
    QLineEdit* E_Zaw_Por = nullptr;
    QLineEdit* E_NrS_Por = nullptr;
    QLineEdit* E_TempPor = nullptr;
    QLineEdit* E_probkPor = nullptr;

    ChartView* Chart1 = nullptr;
    // Under the chart: the current flight's figures and, below them, the comparison's.
    QLabel* LFigures1 = nullptr;
    QLabel* LFigures2 = nullptr;
    QLineEdit* ECzekaj = nullptr;
    QLineEdit* E_PobDan = nullptr;
    QPushButton* B_Przerwij = nullptr; // cancels a running transfer; shown only then
    QTimer* Timer1 = nullptr;

    QMenu* Ustawienia1 = nullptr;
    QAction* Vantorel1 = nullptr;
    QAction* Filtr3 = nullptr;
    QAction* Se1 = nullptr;
    QMenu* Widok1 = nullptr;
    QAction* Przyspieszenie1 = nullptr;
    QAction* Porownanie1 = nullptr;
    QAction* Warto1 = nullptr;
    QAction* Dziennik1 = nullptr; // the flight log window
    QAction* Nakladka1 = nullptr; // an overlay file, opened in the overlay window
    QMenu* E1 = nullptr;
    QAction* UstawDrukarke1 = nullptr;
    QAction* Drukuj1 = nullptr;
    QAction* ZapiszObraz1 = nullptr;
    QAction* ZapiszdoExcela1 = nullptr;
    QAction* Zawody1 = nullptr; // the contest window
    QMenu* MenuJezyk = nullptr;
    QAction* Polski1 = nullptr;
    QAction* English1 = nullptr;
    QAction* Info1 = nullptr;
    QAction* Help1 = nullptr;

    // Under the chart: what the last print, picture or export wrote, and where.
    QStatusBar* StatusBar1 = nullptr;
    QLabel* LStatus = nullptr;

private:
    void buildTopRow();
    void buildFlightPanel();
    void buildComparisonPanel();
    void buildFiguresLines();
    void buildIndicators();
    void buildMenu(QMainWindow& window);
    void buildStatusLine(QMainWindow& window);
};
