// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/chart/top_row_layout.h"
#include "core/files/measurement_file.h"
#include "core/flight/flight_figures_text.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"
#include "core/shell/framework_texts.h"
#include "core/shell/text_tables.h"
#include "gui/contest/contest_window.h"
#include "gui/device/settings_dialog.h"
#include "gui/files/flight_log_window.h"
#include "gui/files/flight_note_field.h"
#include "gui/files/overlay_window.h"
#include "gui/flight/chart_cursors.h"
#include "gui/flight/filter_dialog.h"
#include "gui/flight/temperature_key_filter.h"
#include "gui/help/info_window.h"
#include "gui/look/window_look.h"
#include "gui/shell/transfer_input_guard.h"
#include "platform/port_discovery.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QPalette>
#include <QResizeEvent>
#include <QShortcut>
#include <QStandardPaths>

namespace {

const QColor kSilver(192, 192, 192);

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TVantorel_BMP::TVantorel_BMP(const QString& settingsPath, vtl::Prompter& prompter,
                             const QString& programFolder, DeviceLink link)
    : TVantorel_BMP(vtl::SettingsPlaces::singleFile(settingsPath.toStdString()), prompter,
                    programFolder, link) {}

TVantorel_BMP::TVantorel_BMP(const vtl::SettingsPlaces& places, vtl::Prompter& prompter,
                             const QString& programFolder, DeviceLink link)
    : QMainWindow(nullptr), m_form(*this), m_prompter(prompter), m_settings(places, prompter),
      m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                              : programFolder),
      m_currentFlight(std::make_unique<vtl::FlightRecord>()),
      m_comparisonFlight(std::make_unique<vtl::FlightRecord>()),
      m_presenter(*m_form.Chart1, *m_currentFlight, *m_comparisonFlight, m_settings.settings(),
                  m_currentLanguage, prompter),
      m_measurements(prompter, m_currentLanguage),
      m_systemPort(QFileInfo(qs(places.homeFile())).absolutePath()),
      m_channel(link.port != nullptr ? *link.port : m_systemPort,
                link.clock != nullptr ? *link.clock : m_eventLoopClock, prompter,
                m_currentLanguage),
      m_protocol(m_channel, link.clock != nullptr ? *link.clock : m_eventLoopClock, prompter,
                 m_currentLanguage, m_settings.settings(),
                 link.priority != nullptr ? *link.priority : m_systemPriority),
      m_output(*m_form.Chart1, m_currentLanguage), m_archive(prompter, m_currentLanguage),
      m_help(prompter, m_programFolder, this), m_outputStatus(*m_form.LStatus, m_currentLanguage),
      m_noteField(new FlightNoteField(prompter, m_currentLanguage, m_form.client)) {
    setObjectName(QStringLiteral("Vantorel_BMP"));
    setWindowTitle(QStringLiteral("Vantorel BMP"));
    vtl::applyDesignFont(*this);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, kSilver);
    setPalette(silver);
    setAutoFillBackground(true);
    resize(1300, 834);
    move(503, 269);
    buildCursors();

    m_settings.load();
    // Not in the settings record, whose layout is fixed: a small file of its own beside it.
    m_flightLogState =
        QFileInfo(qs(places.homeFile())).absolutePath() + QStringLiteral("/vantorel-log.ini");
    m_contestState =
        QFileInfo(qs(places.homeFile())).absolutePath() + QStringLiteral("/vantorel-contest.ini");
    const vtl::ProgramSettings& settings = m_settings.settings();
    m_form.Przyspieszenie1->setChecked(settings.showAcceleration != 0);
    m_currentLanguage = vtl::languageOf(settings.language);
    m_form.Polski1->setChecked(m_currentLanguage == vtl::Language::Polish);
    m_form.English1->setChecked(m_currentLanguage == vtl::Language::English);
    applyLanguage();
    m_form.Chart1->Clear(ChartView::Series1);
    m_currentFlight->temperature = 20.0f;

    // A port that cannot be opened brings the offer of the one USB serial port that is there.
    m_findPorts = [this, aliasFolder = QFileInfo(qs(places.homeFile())).absolutePath(),
                   real = link.port == nullptr] {
        return real ? vtl::discoverPorts(aliasFolder, m_currentLanguage) : vtl::PortFinder({}, {});
    };
    m_portOffer = std::make_unique<vtl::UsbPortOffer>(m_settings, [this] { return m_findPorts(); });
    m_channel.setPortOffer(m_portOffer.get());

    setArchiveFolder(m_archive.folder());
    recoverInterruptedSaves();
    // Pictures and exports are documents; each kind then starts where its last file went.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_measurements.setOutputFolder(
        (QFileInfo(documents).isDir() ? documents : QDir::homePath()).toStdString());
    m_form.client->installEventFilter(this);
    connectHandlers();
    FormCreate();

    // The dialogs read the loaded settings and the language when they are built. They stay
    // top-level windows of their own, shown modally over this one.
    m_settingsDialog = std::make_unique<TFormUstawienia>(m_settings, m_currentLanguage, prompter,
                                                         m_channel, m_protocol, this);
    m_settingsDialog->setPortFinder([this] { return m_findPorts(); });
    m_infoWindow = std::make_unique<TFoInfo>(this);
    m_filterDialog = std::make_unique<TF_Filtr>(m_settings, m_currentLanguage, this);
}

TVantorel_BMP::~TVantorel_BMP() = default;

void TVantorel_BMP::setArchiveFolder(const QString& folder) {
    m_archive.setFolder(folder);
    m_measurements.setDefaultOpenFolder(folder.toStdString());
}

void TVantorel_BMP::connectHandlers() {
    MainWindowForm& f = m_form;
    connect(&m_presenter, &FlightPresenter::panelChanged, this, &TVantorel_BMP::showPanel);
    new TemperatureKeyFilter(*f.E_TempGl, *f.E_TempPor,
                             [this](vtl::FlightRole role, const std::string& typed) {
                                 m_presenter.enterTemperature(role, typed);
                             });
    connect(f.B_Odczyt_Vantorelu, &QPushButton::clicked, this,
            &TVantorel_BMP::B_Odczyt_VantoreluClick);
    connect(f.BZerowanie, &QPushButton::clicked, this, &TVantorel_BMP::BZerowanieClick);
    connect(f.B_Filtr_Vtl, &QPushButton::clicked, this, &TVantorel_BMP::B_Filtr_VtlClick);
    connect(f.BZapisz, &QPushButton::clicked, this, &TVantorel_BMP::BZapisz_PomiarClick);
    connect(f.BOdczyt, &QPushButton::clicked, this, &TVantorel_BMP::BLaduj_pomiarClick);
    connect(f.B_Porownanie, &QPushButton::clicked, this, &TVantorel_BMP::B_PorownanieClick);
    connect(f.B_Filtr_por, &QPushButton::clicked, this, &TVantorel_BMP::B_Filtr_porClick);
    connect(f.Timer1, &QTimer::timeout, this, &TVantorel_BMP::StopTimer);

    connect(f.Vantorel1, &QAction::triggered, this, &TVantorel_BMP::Ustawienia1Click);
    connect(f.Filtr3, &QAction::triggered, this, &TVantorel_BMP::Ustawienia2Click);
    connect(f.Se1, &QAction::triggered, this, &TVantorel_BMP::Se1Click);
    connect(f.Przyspieszenie1, &QAction::triggered, this, &TVantorel_BMP::Przyspieszenie1Click);
    connect(f.Porownanie1, &QAction::triggered, this, &TVantorel_BMP::Porownanie1Click);
    connect(f.Warto1, &QAction::triggered, this, &TVantorel_BMP::Warto1Click);
    connect(f.Dziennik1, &QAction::triggered, this, &TVantorel_BMP::Dziennik1Click);
    connect(f.Nakladka1, &QAction::triggered, this, &TVantorel_BMP::openOverlayFile);
    connect(f.UstawDrukarke1, &QAction::triggered, this, &TVantorel_BMP::UstawDrukarke1Click);
    connect(f.Drukuj1, &QAction::triggered, this, &TVantorel_BMP::Drukuj1Click);
    connect(f.ZapiszObraz1, &QAction::triggered, this, &TVantorel_BMP::ZapiszObraz1Click);
    connect(f.ZapiszdoExcela1, &QAction::triggered, this, &TVantorel_BMP::ZapiszdoExcela1Click);
    connect(f.Polski1, &QAction::triggered, this, &TVantorel_BMP::Polski1Click);
    connect(f.English1, &QAction::triggered, this, &TVantorel_BMP::English1Click);
    connect(f.Zawody1, &QAction::triggered, this, &TVantorel_BMP::Zawody1Click);
    connect(f.Info1, &QAction::triggered, this, &TVantorel_BMP::Info1Click);
    connect(f.Help1, &QAction::triggered, this, &TVantorel_BMP::Help1Click);

    connect(f.Chart1, &ChartView::OnClickSeries, this, &TVantorel_BMP::xxx);
    connect(f.Chart1, &ChartView::OnClickLegend, this, &TVantorel_BMP::ppp);
    connect(f.Chart1, &ChartView::OnZoom, this, &TVantorel_BMP::Chart1Zoom);
    connect(f.Chart1, &ChartView::OnUndoZoom, this, &TVantorel_BMP::Chart1UndoZoom);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { FormHelp(); });
}

void TVantorel_BMP::FormCreate() {}

QString TVantorel_BMP::text(vtl::MainCaption pair) const {
    return qs(vtl::caption(pair, m_currentLanguage));
}

void TVantorel_BMP::applyLanguage() {
    m_qtTranslations.follow(m_currentLanguage);
    using vtl::MainCaption;
    auto t = [this](MainCaption pair) { return text(pair); };
    MainWindowForm& f = m_form;
    f.BZerowanie->setText(t(MainCaption::ZeroButton));
    f.B_Odczyt_Vantorelu->setText(t(MainCaption::ReadDeviceButton));
    f.GBDysk_ZapisOdczyt->setTitle(t(MainCaption::DiscGroup));
    f.BZapisz->setText(t(MainCaption::SaveButton));
    f.BOdczyt->setText(t(MainCaption::LoadButton));
    for (QLabel* label : {f.LTemp1, f.LTemp2}) {
        label->setText(t(MainCaption::Temperature));
    }
    for (QLabel* label : {f.LProbk1, f.LProbk2}) {
        label->setText(t(MainCaption::Sampling));
    }
    for (QLabel* label : {f.LZaw1, f.LZaw2}) {
        label->setText(t(MainCaption::CompetitorNumber));
    }
    for (QLabel* label : {f.L_NumSer1, f.L_NumSer2}) {
        label->setText(t(MainCaption::SerialNumber));
    }
    for (QLabel* label :
         {f.LTemp1, f.LTemp2, f.LProbk1, f.LProbk2, f.LZaw1, f.LZaw2, f.L_NumSer1, f.L_NumSer2}) {
        label->adjustSize();
    }
    f.B_Porownanie->setText(t(MainCaption::Comparison));
    showFlightTitle(m_flightFileTitle);
    m_noteField->applyLanguage();
    showComparisonTitle(m_comparisonFileTitle);
    setWindowTitle(t(MainCaption::WindowCaption));

    f.Ustawienia1->setTitle(t(MainCaption::SetupMenu));
    f.Vantorel1->setText(t(MainCaption::Device));
    f.Widok1->setTitle(t(MainCaption::ChartsMenu));
    f.Przyspieszenie1->setText(t(MainCaption::Acceleration));
    f.Porownanie1->setText(t(MainCaption::Comparison));
    f.UstawDrukarke1->setText(t(MainCaption::PrinterSetupMenu));
    f.Drukuj1->setText(t(MainCaption::PrintMenu));
    f.ZapiszObraz1->setText(t(MainCaption::SavePictureMenu));
    f.ZapiszdoExcela1->setText(t(MainCaption::ExportMenu));

    f.Dziennik1->setText(FlightLogWindow::menuText(m_currentLanguage));
    if (m_flightLog) {
        m_flightLog->applyLanguage();
    }
    applyOverlayLanguage();
    f.Zawody1->setText(ContestWindow::menuText(m_currentLanguage));
    if (m_contest) {
        m_contest->applyLanguage();
    }
    m_presenter.applyLanguage();
    applyCursorsLanguage();
    m_outputStatus.applyLanguage();
    f.Chart1->setToolTip(t(MainCaption::ChartHint));
}

bool TVantorel_BMP::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_form.client && event->type() == QEvent::Resize) {
        FormResize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TVantorel_BMP::FormResize() {
    MainWindowForm& f = m_form;
    vtl::TopRowWidths widths;
    widths.readButton = f.B_Odczyt_Vantorelu->width();
    widths.zeroButton = f.BZerowanie->width();
    widths.flightPanel = f.GroupB_Vtl->width();
    widths.discPanel = f.GBDysk_ZapisOdczyt->width();
    widths.comparisonButton = f.B_Porownanie->width();
    widths.comparisonPanel = f.GroupB_Por->width();
    vtl::TopRowLayout layout = vtl::layOutTopRow(f.client->width(), f.client->height(), widths);
    m_cursors->makeRoom(layout);

    f.Chart1->applyLayout(layout);
    f.B_Odczyt_Vantorelu->move(layout.readButtonLeft, f.B_Odczyt_Vantorelu->y());
    f.BZerowanie->move(layout.readButtonLeft, f.BZerowanie->y());
    f.B_Filtr_Vtl->move(layout.filterButtonLeft, f.B_Filtr_Vtl->y());
    f.GroupB_Vtl->move(layout.flightPanelLeft, f.GroupB_Vtl->y());
    f.GBDysk_ZapisOdczyt->move(layout.discPanelLeft, f.GBDysk_ZapisOdczyt->y());
    f.B_Porownanie->move(layout.comparisonButtonLeft, f.B_Porownanie->y());
    f.B_Filtr_por->move(layout.comparisonButtonLeft, f.B_Filtr_por->y());
    f.GroupB_Por->move(layout.comparisonPanelLeft, f.GroupB_Por->y());
    f.LFigures1->setGeometry(8, layout.figuresTop, layout.chartWidth, vtl::kFiguresLineHeight);
    f.LFigures2->setGeometry(8, layout.figuresTop + vtl::kFiguresLineHeight, layout.chartWidth,
                             vtl::kFiguresLineHeight);
    m_cursors->placeTable(layout);
    m_noteField->setGeometry(8, layout.noteTop, layout.chartWidth, vtl::kNoteLineHeight);
}

// Closing during a transfer cancels it; the window closes once the transfer has stopped.
void TVantorel_BMP::closeEvent(QCloseEvent* event) {
    if (m_runningTransfer != nullptr) {
        m_runningTransfer->requestCancel();
        m_closeAfterTransfer = true;
        event->ignore();
        return;
    }
    Koniec();
    event->accept();
}

// Closing always ends the program: a settings file that cannot be written has been reported by
// the keeper, and keeping the window open would only repeat the failure.
void TVantorel_BMP::Koniec() {
    m_channel.closePort();
    m_settings.save();
    QApplication::quit();
}

void TVantorel_BMP::Polski1Click() {
    chooseLanguage(vtl::Language::Polish);
}

void TVantorel_BMP::English1Click() {
    chooseLanguage(vtl::Language::English);
}

void TVantorel_BMP::chooseLanguage(vtl::Language language) {
    m_form.Polski1->setChecked(language == vtl::Language::Polish);
    m_form.English1->setChecked(language == vtl::Language::English);
    m_settings.settings().language = vtl::storedLanguage(language);
    m_currentLanguage = language;
    applyLanguage();
    m_settings.save();
}

void TVantorel_BMP::Help1Click() {
    m_help.open(m_currentLanguage);
}

// F1 opens the manual of the current language and leaves the request unhandled, as the window's
// help event does.
bool TVantorel_BMP::FormHelp() {
    Help1Click();
    return false;
}

void TVantorel_BMP::Info1Click() {
    m_infoWindow->exec();
}

void TVantorel_BMP::Ustawienia2Click() {
    m_filterDialog->exec();
}

void TVantorel_BMP::blankComparisonPanel() {
    m_presenter.blankPanel(vtl::FlightRole::Comparison);
    showComparisonTitle(QString());
}

void TVantorel_BMP::blankFlightPanel() {
    m_presenter.blankPanel(vtl::FlightRole::Current);
    showFlightTitle(QString());
    m_noteField->setFlightFile(std::string());
}

void TVantorel_BMP::showFlightTitle(const QString& fileTitle) {
    m_flightFileTitle = fileTitle;
    m_form.GroupB_Vtl->setTitle(fileTitle.isEmpty() ? text(vtl::MainCaption::Device) : fileTitle);
}

void TVantorel_BMP::showComparisonTitle(const QString& fileTitle) {
    m_comparisonFileTitle = fileTitle;
    m_form.GroupB_Por->setTitle(fileTitle.isEmpty() ? text(vtl::MainCaption::File) : fileTitle);
}

namespace {

// Panel fields show their text from its start, as narrow fields would otherwise hide the front.
// A field that already shows the text is left alone, so that a field being edited keeps its
// cursor.
void showInField(QLineEdit* field, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (field->text() != shown) {
        field->setText(shown);
        field->setCursorPosition(0);
    }
}

} // namespace

void TVantorel_BMP::showPanel(vtl::FlightRole role) {
    MainWindowForm& f = m_form;
    const vtl::FlightPanelTexts& panel = m_presenter.panel(role);
    const bool current = role == vtl::FlightRole::Current;
    showInField(current ? f.E_NrZawodnika : f.E_Zaw_Por, panel.competitorNumber);
    showInField(current ? f.E_NrSeryjny : f.E_NrS_Por, panel.serialNumber);
    showInField(current ? f.E_probkGl : f.E_probkPor, panel.sampling);
    showInField(current ? f.E_MaxGl : f.E_Max_Por, panel.maximum);
    showInField(current ? f.EMinimum : f.E_Min_Por, panel.minimum);
    QLineEdit* temperature = current ? f.E_TempGl : f.E_TempPor;
    showInField(temperature, panel.temperature);
    if (!panel.temperature.empty()) {
        temperature->setReadOnly(false);
    }
    if (current) {
        f.LFigures1->setText(qs(panel.figures));
    } else {
        f.LFigures2->setText(
            panel.figures.empty()
                ? QString()
                : qs(vtl::comparisonFiguresPrefix(m_currentLanguage) + panel.figures));
    }
}

// A click on a curve empties it; the altitude and comparison curves also blank their flight's
// panel, whatever language their titles are in.
void TVantorel_BMP::xxx(ChartView::Series series) {
    m_form.Chart1->Clear(series);
    if (series == ChartView::Series3) {
        blankComparisonPanel();
    }
    if (series == ChartView::Series1) {
        blankFlightPanel();
    }
}

void TVantorel_BMP::ppp() {
    m_form.Chart1->Repaint(ChartView::Series1);
    m_form.Chart1->Repaint(ChartView::Series2);
    m_form.Chart1->Repaint(ChartView::Series3);
}

// The menu item has already turned its check mark over when this runs.
void TVantorel_BMP::Warto1Click() {
    const bool visible = m_form.Warto1->isChecked();
    m_form.Chart1->setMarksVisible(ChartView::Series1, visible);
    m_form.Chart1->setMarksVisible(ChartView::Series3, visible);
}

void TVantorel_BMP::BZapisz_PomiarClick() {
    // A flight that came from no file (its archive copy failed) now has one to keep its note with.
    if (m_measurements.saveMeasurement(*m_currentFlight) && m_noteField->flightFile().empty()) {
        m_noteField->setFlightFile(m_measurements.lastSaveName());
    }
}

namespace {

// A file whose header cannot be the recorder's is taken only when the user insists; declining
// leaves everything as it was.
bool openAnyway(vtl::Prompter& prompter, vtl::Language language,
                const std::vector<uint8_t>& bytes) {
    return vtl::plausibleFlightHeader(bytes.data(), bytes.size()) ||
           prompter.showMessage(vtl::message(vtl::Message::NotAFlight, language),
                                vtl::message(vtl::Message::ErrorCaption, language),
                                vtl::PromptButtons::OkCancel);
}

} // namespace

void TVantorel_BMP::BLaduj_pomiarClick() {
    if (const auto file = m_measurements.chooseMeasurement()) {
        loadCurrent(*file);
    }
}

void TVantorel_BMP::B_PorownanieClick() {
    if (const auto file = m_measurements.chooseMeasurement(vtl::FileDialog::Comparison)) {
        loadComparison(*file);
    }
}

void TVantorel_BMP::openFlightFile(const std::string& path, bool comparison) {
    vtl::MeasurementCommands::LoadedFile file{path, {}};
    // As if chosen in the open dialog: it opens at this name next time.
    m_measurements.setLastOpenName(path);
    vtl::MeasurementReadFailure failure = vtl::MeasurementReadFailure::None;
    if (!vtl::readMeasurementFile(path, file.bytes, &failure)) {
        m_prompter.showMessage(vtl::cannotReadMeasurementText(path, failure, m_currentLanguage),
                               vtl::kExceptionCaption, vtl::PromptButtons::Ok);
        return;
    }
    if (comparison) {
        loadComparison(file);
    } else {
        loadCurrent(file);
    }
}

void TVantorel_BMP::loadCurrent(const vtl::MeasurementCommands::LoadedFile& file) {
    if (!openAnyway(m_prompter, m_currentLanguage, file.bytes)) {
        return;
    }
    if (vtl::acceptLoadedImage(*m_currentFlight, file.bytes.data(), file.bytes.size(),
                               vtl::FlightRole::Current) != vtl::HandoverResult::Accepted) {
        m_presenter.reportCorruptFlight();
        return;
    }
    m_form.GroupB_Vtl->setFilePath(QString::fromStdString(file.path));
    showFlightTitle(QString::fromStdString(vtl::fileTitle(file.path)));
    m_noteField->setFlightFile(file.path);
    m_presenter.showLoadedCurrent();
    tellWhetherFileIsWhole(file.bytes);
}

void TVantorel_BMP::loadComparison(const vtl::MeasurementCommands::LoadedFile& file) {
    if (!openAnyway(m_prompter, m_currentLanguage, file.bytes)) {
        return;
    }
    if (vtl::acceptLoadedImage(*m_comparisonFlight, file.bytes.data(), file.bytes.size(),
                               vtl::FlightRole::Comparison) != vtl::HandoverResult::Accepted) {
        m_presenter.reportCorruptFlight();
        return;
    }
    m_form.GroupB_Por->setFilePath(QString::fromStdString(file.path));
    showComparisonTitle(QString::fromStdString(vtl::fileTitle(file.path)));
    m_form.Porownanie1->setChecked(true);
    m_presenter.showLoadedComparison();
    tellWhetherFileIsWhole(file.bytes);
}

// Only a file that can be a flight is called incomplete: one opened although it does not look
// like a flight was questioned already. Any other file takes the notice of an earlier one back.
void TVantorel_BMP::tellWhetherFileIsWhole(const std::vector<uint8_t>& bytes) {
    if (!vtl::imageHasEnd(bytes.data(), bytes.size()) &&
        vtl::plausibleFlightHeader(bytes.data(), bytes.size())) {
        m_outputStatus.show(vtl::Message::IncompleteFile, std::string());
    } else {
        m_outputStatus.withdraw(vtl::Message::IncompleteFile);
    }
}

// The menu item has already turned its check mark over; the stored flag decides.
void TVantorel_BMP::Przyspieszenie1Click() {
    vtl::ProgramSettings& settings = m_settings.settings();
    if (settings.showAcceleration != 0) {
        m_form.Przyspieszenie1->setChecked(false);
        settings.showAcceleration = 0;
        m_form.Chart1->Clear(ChartView::Series2);
        return;
    }
    m_form.Przyspieszenie1->setChecked(true);
    settings.showAcceleration = 1;
    if (m_currentFlight->holdsFlight()) {
        m_presenter.redrawCurrent(true);
    }
}

// The menu item has already turned its check mark over: now checked means it was not.
void TVantorel_BMP::Porownanie1Click() {
    if (m_form.Porownanie1->isChecked()) {
        return;
    }
    blankComparisonPanel();
    m_form.Chart1->Clear(ChartView::Series3);
}

void TVantorel_BMP::B_Filtr_VtlClick() {
    m_presenter.filterCurrent();
}

void TVantorel_BMP::B_Filtr_porClick() {
    m_presenter.filterComparison();
}
// A zoom onto fewer than 100 points shows one minor grid line per sample.
void TVantorel_BMP::Chart1Zoom() {
    ChartView& chart = *m_form.Chart1;
    const int64_t maximum = static_cast<int64_t>(chart.bottomMaximum());
    const int64_t minimum = static_cast<int64_t>(chart.bottomMinimum());
    if (maximum - minimum >= 100) {
        return;
    }
    chart.bottomSetMinorTickCount(static_cast<int>(m_presenter.lastDrawnSamplesPer10s() / 10) - 1);
    chart.bottomSetMinorGridVisible(true);
}

void TVantorel_BMP::Chart1UndoZoom() {
    m_form.Chart1->bottomSetMinorGridVisible(false);
}
// The window's timer is never started; its handler only stops it.
void TVantorel_BMP::StopTimer() {
    m_form.Timer1->stop();
    m_form.Timer1->setInterval(400);
}
