// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/flight_log.h"
#include "core/shell/text_tables.h"
#include "gui/files/log_window_state.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QThread;

namespace vtl {
class Prompter;
}

// Every flight of a folder (the archive unless the user picks another) in a table, filled while
// the files are read on a worker thread. Opening or comparing a flight goes through the main
// window's own load, so the questions and messages are the same; the window never changes a file.
class FlightLogWindow : public QWidget {
    Q_OBJECT
public:
    enum Column {
        Downloaded,
        Serial,
        Competitor,
        Sampling,
        Temperature,
        Maximum,
        TimeToMaximum,
        FlightTime,
        BestClimb,
        MeanSink,
        Status,
        FileName,
        Note, // edited in place: double-click or F2
        ColumnCount
    };

    // Loads the file as the current flight, or as the comparison flight.
    using Opener = std::function<void(const std::string& path, bool comparison)>;

    // `stateFile`: where the window keeps its size and column widths between runs.
    FlightLogWindow(vtl::Prompter& prompter, const vtl::Language& language,
                    const QString& stateFile, Opener opener, QWidget* parent = nullptr);
    ~FlightLogWindow() override;

    // The menu item's text, which the main window shows in its language.
    static QString menuText(vtl::Language language);

    // Lists the folder anew; rows already shown go.
    void setFolder(const QString& folder);
    const QString& folder() const { return m_folder; }
    bool scanning() const { return m_worker != nullptr; }
    void applyLanguage();

    QTableWidget* table() const { return m_table; }
    QLineEdit* filterField() const { return m_filter; }
    QLabel* progressLine() const { return m_progress; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* compareButton() const { return m_compare; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* folderButton() const { return m_folderButton; }
    QPushButton* overlayButton() const { return m_overlay; }
    // The rows in the table's order, as they are shown (hidden ones left out).
    std::vector<vtl::FlightLogRow> shownRows() const;
    // The note of a flight file changed elsewhere: its row shows it, when the file is listed here.
    void showNoteOf(const std::string& flightPath);

signals:
    void scanFinished();
    // The shown rows selected (2 to 8 of them), as paths, for an overlay.
    void overlayRequested(const QStringList& paths);
    // A note edited here was written for the flight file.
    void noteWritten(const std::string& flightPath);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void stopScan();
    // The rows read since the window last took a batch, and how many the listing will hold.
    struct PendingRows {
        std::mutex mutex;
        std::vector<vtl::FlightLogRow> rows;
        size_t total = 0;
        bool posted = false; // a call to take the rows is on its way
    };
    void takePendingRows(PendingRows& pending);
    void addRows(std::vector<vtl::FlightLogRow> rows, size_t total);
    // `index`: the row's place in m_rows.
    void fillRow(int tableRow, const vtl::FlightLogRow& row, size_t index);
    void fillNote(int tableRow, const vtl::FlightLogRow& row);
    void showNote(QTableWidgetItem& item, const vtl::FlightLogRow& row) const;
    // Writes the note typed into the cell; on failure the user is told and the cell shows the
    // stored note again.
    void writeNote(QTableWidgetItem* item);
    std::string flightPath(const vtl::FlightLogRow& row) const;
    // `folderError`: the errno value of a folder that could not be listed, or 0; `foreignCache`:
    // a file of the cache's name was not the program's own, and was left alone.
    void finishScan(int folderError, bool foreignCache);
    void applyFilter();
    // "shown / all": the rows the filter lets through of the rows of the listing.
    void showCounter();
    bool matchesFilter(int tableRow) const;
    void openSelected(bool comparison);
    int selectedShownRows() const;
    void showOverlayChoice();
    void overlaySelected();
    void chooseFolder();
    void exportRows();
    QString text(vtl::FlightLogCaption which) const;

    vtl::Prompter& m_prompter;
    const vtl::Language& m_language;
    LogWindowState m_state;
    Opener m_opener;
    QString m_folder;
    std::vector<vtl::FlightLogRow> m_rows; // in the order read; table items point here
    size_t m_total = 0;
    size_t m_shown = 0;
    int m_folderError = 0;
    bool m_foreignCache = false;
    // Set once the columns have widths a user chose or that fit a first listing.
    bool m_columnsSized = false;
    bool m_fillingNote = false; // the program, not the user, is changing a note cell
    QThread* m_worker = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    unsigned m_generation = 0;
    std::string m_lastExportName;
    QString m_exportFolder; // the listing the last export name was chosen in

    QTableWidget* m_table = nullptr;
    QLineEdit* m_filter = nullptr;
    QLabel* m_folderLabel = nullptr;
    QLabel* m_progress = nullptr;
    QPushButton* m_folderButton = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_compare = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_overlay = nullptr;
};
