// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/device_protocol.h"
#include "core/device/usb_port_offer.h"
#include "core/files/measurement_commands.h"
#include "core/shell/language.h"
#include "core/shell/settings_keeper.h"
#include "gui/chart/chart_view.h"
#include "gui/files/chart_output.h"
#include "gui/files/download_archive.h"
#include "gui/files/system_printers.h"
#include "gui/flight/flight_presenter.h"
#include "gui/help/help_launcher.h"
#include "gui/shell/main_window_form.h"
#include "gui/shell/output_status.h"
#include "gui/shell/qt_translations.h"
#include "platform/event_loop_clock.h"
#include "platform/system_process_priority.h"
#include "platform/system_serial_port.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace vtl {
enum class MainCaption;
class Prompter;
struct FlightRecord;
} // namespace vtl

class ChartCursors;
class TFormUstawienia;

// The device link the window talks through; tests put a fake device and clock here.
struct DeviceLink {
    vtl::SerialPort* port = nullptr;
    vtl::Clock* clock = nullptr;
    vtl::ProcessPriority* priority = nullptr;
};
class TFoInfo;
class ContestWindow;
class FlightLogWindow;
class OverlayWindow;
class FlightNoteField;
class TF_Filtr;
class TransferInputGuard;

// The program's main window: the chart, the buttons and the information panels. It owns the
// settings, the two flight records and the prompter's use for the whole run; the handlers call
// the core and the chart view.
class TVantorel_BMP : public QMainWindow {
    Q_OBJECT
public:
    // The settings are read from and saved to where `places` says; the port aliases lie in the
    // folder of its home file.
    TVantorel_BMP(const vtl::SettingsPlaces& places, vtl::Prompter& prompter,
                  const QString& programFolder = QString(), DeviceLink link = {});
    // One settings file, read and written whatever happens.
    TVantorel_BMP(const QString& settingsPath, vtl::Prompter& prompter,
                  const QString& programFolder = QString(), DeviceLink link = {});
    ~TVantorel_BMP() override;

    MainWindowForm& form() { return m_form; }
    vtl::SettingsKeeper& settingsKeeper() { return m_settings; }
    vtl::ProgramSettings& programSettings() { return m_settings.settings(); }
    vtl::Language currentLanguage() const { return m_currentLanguage; }
    // The language as it changes: the windows and helpers that speak it hold this reference.
    const vtl::Language& languageSelector() const { return m_currentLanguage; }
    // What the picture and the print put in their title: the current flight's panel.
    vtl::FlightPanelTexts outputPanel() const;
    vtl::SerialChannel& serialChannel() { return m_channel; }
    vtl::DeviceProtocol& deviceProtocol() { return m_protocol; }
    // Where the port list and the offer of a USB port look: the machine's ports by default, none
    // beside a test's port.
    void setPortFinder(std::function<vtl::PortFinder()> findPorts) {
        m_findPorts = std::move(findPorts);
    }
    const vtl::PrinterChoices& printerChoices() const { return m_printerChoices; }
    // Where prints look for printers: the system's unless a test gives its own.
    void setPrinterDirectory(vtl::PrinterDirectory& printers) { m_printers = &printers; }
    // Where downloads are kept; the open dialog starts there until a file has been chosen.
    void setArchiveFolder(const QString& folder);
    vtl::FlightRecord& currentFlight() { return *m_currentFlight; }
    vtl::FlightRecord& comparisonFlight() { return *m_comparisonFlight; }
    // The program's own manual viewer, once the desktop could not open a manual.
    HelpWindow* helpWindow() const { return m_help.window(); }
    // The flight log window, once the menu has opened it.
    FlightLogWindow* flightLogWindow() const { return m_flightLog.get(); }
    // The overlay window, once the flight log has opened it; one, reused for each overlay.
    OverlayWindow* overlayWindow() const { return m_overlay.get(); }
    // Draws the flights over each other, aligned at their start, in the overlay window.
    void showOverlay(const QStringList& paths);
    // The current flight's note under the chart.
    FlightNoteField* noteField() const { return m_noteField; }
    // The contest window, once the menu has opened it.
    ContestWindow* contestWindow() const { return m_contest.get(); }
    // Downloads as "Odczyt Vantorelu" does, with the same indicators, questions and drawing, and
    // gives back the image as the archive keeps it when it became the current flight.
    std::optional<std::vector<uint8_t>> downloadNext();
    // Loads the file as "Odczyt" (or, for a comparison, the comparison button) loads a chosen one,
    // with the same questions and messages.
    void openFlightFile(const std::string& path, bool comparison);

    // Prints a document of another window through the print path of the chart: the printer set-up
    // first, then the chosen printer or PDF file, with the same messages when neither works.
    // What the status line should say afterwards, or nothing when there was no print.
    std::string printDocument(const std::function<bool(QPrinter&)>& paint);

    // The readout under the mouse and the measuring cursors of the chart.
    ChartCursors& chartCursors() { return *m_cursors; }
    QAction* removeCursorsAction() const { return m_removeCursors; }

    void applyLanguage();
    void FormResize();
    bool FormHelp();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyOverlayLanguage();
    // The log's "Overlay" button opens its flights in the overlay window.
    void openOverlaysFrom(FlightLogWindow& log);
    // "Otwórz nakładkę…": an overlay file chosen and drawn in the overlay window.
    void openOverlayFile();
    OverlayWindow& overlayWindowMade();
    void bringUp(QWidget& window);
    void connectHandlers();
    // main_window_cursors.cpp
    void buildCursors();
    void applyCursorsLanguage();
    void FormCreate();
    void Koniec();

    // Takes back the flights that saves interrupted in an earlier run left in the archive, and
    // says so on the status line, so that nothing holds up the start.
    void recoverInterruptedSaves();
    void B_Odczyt_VantoreluClick();
    // The kept image when the download became the current flight.
    std::optional<std::vector<uint8_t>> downloadAndShow();
    void showFlightAgain(const QString& flightTitle, const QString& flightFile);
    void BZerowanieClick();
    void B_Filtr_VtlClick();
    void BZapisz_PomiarClick();
    void BLaduj_pomiarClick();
    void B_PorownanieClick();
    void loadCurrent(const vtl::MeasurementCommands::LoadedFile& file);
    void loadComparison(const vtl::MeasurementCommands::LoadedFile& file);
    void Dziennik1Click();
    void Zawody1Click();
    void B_Filtr_porClick();
    void Ustawienia1Click();
    void Ustawienia2Click();
    void Se1Click();
    void Przyspieszenie1Click();
    void Porownanie1Click();
    void Warto1Click();
    void UstawDrukarke1Click();
    void Drukuj1Click();
    void ZapiszObraz1Click();
    void ZapiszdoExcela1Click();
    // Tells the user when the path chosen for an output file is a folder.
    bool refusedAsFolder(const std::string& path);
    void Polski1Click();
    void English1Click();
    void chooseLanguage(vtl::Language language);
    void Info1Click();
    void Help1Click();
    void xxx(ChartView::Series series);
    void ppp();
    void Chart1Zoom();
    void Chart1UndoZoom();
    void StopTimer();

    QString text(vtl::MainCaption pair) const;
    void blankComparisonPanel();
    void blankFlightPanel();
    // A panel's title: the name of the file its flight came from, or with none (empty) the
    // panel's own caption, which follows the language.
    void showFlightTitle(const QString& fileTitle);
    void showComparisonTitle(const QString& fileTitle);
    // An opened file cut off before its flight ended is drawn as it is; the status line says so.
    void tellWhetherFileIsWhole(const std::vector<uint8_t>& bytes);
    // The panel's fields take what the presenter keeps for it.
    void showPanel(vtl::FlightRole role);

    MainWindowForm m_form;
    vtl::Prompter& m_prompter;
    vtl::SettingsKeeper m_settings;
    QString m_programFolder;
    // Kept beside the record's stored value, which stays as the file had it (any nonzero value
    // means English) until the user picks a language.
    vtl::Language m_currentLanguage = vtl::Language::Polish;
    std::unique_ptr<vtl::FlightRecord> m_currentFlight;
    std::unique_ptr<vtl::FlightRecord> m_comparisonFlight;
    FlightPresenter m_presenter;
    vtl::MeasurementCommands m_measurements;
    vtl::SystemSerialPort m_systemPort;
    vtl::EventLoopClock m_eventLoopClock;
    vtl::SystemProcessPriority m_systemPriority;
    vtl::SerialChannel m_channel;
    vtl::DeviceProtocol m_protocol;
    std::function<vtl::PortFinder()> m_findPorts;
    std::unique_ptr<vtl::UsbPortOffer> m_portOffer;
    ChartOutput m_output;
    DownloadArchive m_archive;
    HelpLauncher m_help;
    vtl::PrinterChoices m_printerChoices;
    SystemPrinters m_systemPrinters;
    vtl::PrinterDirectory* m_printers = &m_systemPrinters;
    OutputStatus m_outputStatus;
    FlightNoteField* m_noteField;         // a child of the client area
    vtl::QtTranslations m_qtTranslations; // Qt's dialogs speak the current language
    std::string m_lastPictureName;
    QString m_flightFileTitle;         // empty while the flight panel shows its caption
    QString m_comparisonFileTitle;     // the same for the comparison panel
    ChartCursors* m_cursors = nullptr; // a child of the chart
    QAction* m_removeCursors = nullptr;
    TransferInputGuard* m_runningTransfer = nullptr; // set while a download runs
    bool m_closeAfterTransfer = false;
    // Created once the settings are loaded and kept for the whole run; declared last so that they
    // go before the settings and the device link they use.
    std::unique_ptr<TFormUstawienia> m_settingsDialog;
    std::unique_ptr<TFoInfo> m_infoWindow;
    std::unique_ptr<TF_Filtr> m_filterDialog;
    QString m_flightLogState; // the log window's size and columns, beside the settings file
    std::unique_ptr<FlightLogWindow> m_flightLog;
    std::unique_ptr<OverlayWindow> m_overlay;
    QString m_contestState; // the contest window's recent contests and size
    std::unique_ptr<ContestWindow> m_contest;
};
