// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/flight_overlay.h"
#include "core/shell/language.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class ChartView;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace vtl {
class Prompter;
}

// Up to eight flights drawn over each other, each in its own colour, with their figures in a
// table below. The flights are read anew whenever the alignment changes or an overlay file is
// opened; a flight that cannot be read is named in a line and the rest are drawn.
class OverlayWindow : public QWidget {
    Q_OBJECT
public:
    enum Column {
        FileName,
        Competitor,
        Date,
        Maximum,
        TimeToMaximum,
        FlightTime,
        BestClimb,
        MeanSink,
        ColumnCount
    };

    // Prints as the main window prints: asks for the printer, calls the painter on it, and
    // returns the line that says where it went (empty when nothing was printed).
    using Printer = std::function<std::string(const std::function<bool(QPrinter&)>& paint)>;

    OverlayWindow(vtl::Prompter& prompter, const vtl::Language& language, Printer printer,
                  QWidget* parent = nullptr);
    ~OverlayWindow() override;

    // Reads and draws the flights; the overlay has no file of its own until it is saved.
    void showFlights(const std::vector<std::string>& paths, vtl::OverlayAlignment alignment);
    // Reads an overlay file and draws its flights; false (and the user told) when it is none.
    bool openOverlayFile(const std::string& path);
    // Asks for an overlay file and opens it; false when none was chosen or it is no overlay.
    bool chooseOverlayFile();
    void applyLanguage();

    const vtl::FlightOverlay& overlay() const { return m_overlay; }
    ChartView* chart() const { return m_chart; }
    QTableWidget* table() const { return m_table; }
    QLabel* problemsLine() const { return m_problems; }
    QLabel* statusLine() const { return m_status; }
    QRadioButton* startButton() const { return m_start; }
    QRadioButton* recordedButton() const { return m_recorded; }
    QPushButton* pictureButton() const { return m_picture; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* openButton() const { return m_open; }

private:
    void rebuild();
    void fillTable();
    void showProblems();
    void showTitle();
    void savePicture();
    void print();
    void saveOverlay();
    // Where a file dialog starts: the last name chosen, else the first flight's folder.
    std::string dialogStart(const std::string& last) const;
    bool refusedAsFolder(const std::string& path);
    void tellCannotCreate(const std::string& path, int error);
    // Runs `output` with the chart's panel white, as the main window's picture and print have it.
    bool withWhitePanel(const std::function<bool()>& output);

    vtl::Prompter& m_prompter;
    const vtl::Language& m_language;
    Printer m_printer;
    std::vector<std::string> m_paths;
    vtl::FlightOverlay m_overlay;
    std::string m_file; // the overlay file it was opened from or saved to
    std::string m_lastPicture;

    ChartView* m_chart = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_problems = nullptr;
    QLabel* m_status = nullptr;
    QRadioButton* m_start = nullptr;
    QRadioButton* m_recorded = nullptr;
    QPushButton* m_picture = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_open = nullptr;
};
