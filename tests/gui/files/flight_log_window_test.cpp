// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/flight_log_window.h"

#include "core/files/flight_archive.h"
#include "core/files/flight_log.h"
#include "core/flight/flight_record.h"
#include "gui/shell/main_window.h"
#include "support/window_rig.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QtTest>

namespace {

using vtl::testing::readFile;
using vtl::testing::writeFile;

QByteArray flightBytes(int32_t peakCm, uint16_t competitor, uint16_t serial) {
    vtl::testing::FlightDescription flight;
    flight.competitorNumber = competitor;
    flight.serialNumber = serial;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, peakCm, 400, -200);
    return vtl::testing::flightBytes(flight);
}

// A flight whose drawn curve peaks at exactly 5585 cm: the plotted float 55.8499985 shows "55.8",
// where the exact value would round to 55.9.
QByteArray halfMetreFlightBytes() {
    vtl::testing::FlightDescription flight;
    flight.competitorNumber = 55;
    flight.serialNumber = 5585;
    flight.groundPressurePa = 101377;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, 5596, 400, -200);
    return vtl::testing::flightBytes(flight);
}

// The text after `word` up to the next blank: one number of the figures line.
QString figureAfter(const QString& line, const QString& word) {
    const qsizetype at = line.indexOf(word + QLatin1Char(' '));
    return at < 0 ? QString() : line.mid(at + word.size() + 1).section(QLatin1Char(' '), 0, 0);
}

} // namespace

class FlightLogWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openFromTheLogIsALoad();
    void compareFromTheLogIsAComparison();
    void aFileThatIsNoFlightIsQuestionedAsByLoad();
    void sortsFiltersAndExports();
    void followsTheLanguageAndKeepsItsColumns();
    void closingTheProgramWritesTheLogsStateOnce();
    void everyCaptionInBothLanguages();
    void broughtBackItListsFlightsArchivedMeanwhile();
    void oneNumberAndOneSeparatorEverywhere();
    void exportNamesACsvFileInTheListedFolder();
    void everyColumnOnScreenAtTheUsualWidth();
    void aFolderThatCannotBeListedIsSaidSo();
    void aCacheNotOfTheProgramIsSaidOnce();
    void aLongListingComesWholeInOrderThroughTheFilter();

private:
    QString path(const QString& name) const { return m_rig->path(name); }
    FlightLogWindow* openLog();
    int rowOf(FlightLogWindow* log, const QString& fileName) const;
    std::unique_ptr<TVantorel_BMP> newWindow(vtl::testing::ScriptedPrompter& prompter);

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    vtl::testing::ScriptedPrompter* m_prompter = nullptr;
    TVantorel_BMP* m_window = nullptr;
};

static const char* const kHigh = "2026-06-14_103512_S1234_C42.bin";
static const char* const kLow = "2026-06-15_090000_S777_C9.bin";

void FlightLogWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    QDir(m_rig->folder()).mkdir(QStringLiteral("flights"));
    writeFile(path(QStringLiteral("flights/") + kHigh), flightBytes(12000, 42, 1234));
    writeFile(path(QStringLiteral("flights/") + kLow), flightBytes(3000, 9, 777));
    writeFile(path(QStringLiteral("flights/notes.txt")), "Wind 3 m/s\n");
    m_prompter = &m_rig->prompter();
    m_window = &m_rig->open();
}

// A second window on the same settings and archive, answering its own prompter.
std::unique_ptr<TVantorel_BMP>
FlightLogWindowTest::newWindow(vtl::testing::ScriptedPrompter& prompter) {
    auto window = std::make_unique<TVantorel_BMP>(path("vantorel.par"), prompter);
    window->setArchiveFolder(path("flights"));
    return window;
}

void FlightLogWindowTest::cleanup() {
    QLocale::setDefault(QLocale::c());
    m_rig.reset();
}

FlightLogWindow* FlightLogWindowTest::openLog() {
    m_window->form().Dziennik1->trigger();
    FlightLogWindow* log = m_window->flightLogWindow();
    if (log == nullptr) {
        return nullptr;
    }
    QSignalSpy finished(log, &FlightLogWindow::scanFinished);
    if (log->scanning()) {
        finished.wait(10000);
    }
    return log;
}

int FlightLogWindowTest::rowOf(FlightLogWindow* log, const QString& fileName) const {
    for (int row = 0; row < log->table()->rowCount(); ++row) {
        if (log->table()->item(row, FlightLogWindow::FileName)->text() == fileName) {
            return row;
        }
    }
    return -1;
}

void FlightLogWindowTest::openFromTheLogIsALoad() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    QVERIFY(log->isVisible());
    QCOMPARE(log->table()->rowCount(), 3);
    QCOMPARE(log->progressLine()->text(), QString("3 / 3"));
    // Newest first.
    QCOMPARE(log->table()->item(1, FlightLogWindow::FileName)->text(), QString(kLow));
    QCOMPARE(log->table()->item(2, FlightLogWindow::FileName)->text(), QString(kHigh));

    log->table()->selectRow(rowOf(log, kHigh));
    log->openButton()->click();

    // The same file through the Load button, in a window of its own.
    vtl::testing::ScriptedPrompter prompter;
    auto loaded = newWindow(prompter);
    prompter.answerNextFiles({path(QStringLiteral("flights/") + kHigh).toStdString()});
    loaded->form().BOdczyt->click();

    MainWindowForm& a = m_window->form();
    MainWindowForm& b = loaded->form();
    QCOMPARE(a.GroupB_Vtl->title(), QString(kHigh));
    QCOMPARE(a.GroupB_Vtl->title(), b.GroupB_Vtl->title());
    QCOMPARE(a.E_NrZawodnika->text(), b.E_NrZawodnika->text());
    QCOMPARE(a.E_NrSeryjny->text(), b.E_NrSeryjny->text());
    QCOMPARE(a.E_TempGl->text(), b.E_TempGl->text());
    QCOMPARE(a.E_TempGl->isReadOnly(), b.E_TempGl->isReadOnly());
    QCOMPARE(a.E_probkGl->text(), b.E_probkGl->text());
    QCOMPARE(a.E_MaxGl->text(), b.E_MaxGl->text());
    QCOMPARE(a.Chart1->pointCount(ChartView::Series1), b.Chart1->pointCount(ChartView::Series1));
    QVERIFY(a.Chart1->pointCount(ChartView::Series1) > 0);
    QCOMPARE(m_window->currentFlight().rawLength, loaded->currentFlight().rawLength);
    QVERIFY(m_prompter->messages().empty());

    // The open dialog then starts at the file, as after a load.
    m_prompter->answerNextFiles({});
    a.BOdczyt->click();
    QCOMPARE(m_prompter->fileDialogs().back().second,
             path(QStringLiteral("flights/") + kHigh).toStdString());

    // Double-click opens as well; a file gone since the listing is reported as by Load.
    log->table()->selectRow(rowOf(log, kLow));
    QFile::remove(path(QStringLiteral("flights/") + kLow));
    emit log->table()->cellDoubleClicked(rowOf(log, kLow), 0);
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QVERIFY(m_prompter->messages()[0].text.find("Cannot open file") != std::string::npos);
    QCOMPARE(a.GroupB_Vtl->title(), QString(kHigh));
}

void FlightLogWindowTest::compareFromTheLogIsAComparison() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    m_window->form().Porownanie1->setChecked(false);
    log->table()->selectRow(rowOf(log, kLow));
    log->compareButton()->click();

    vtl::testing::ScriptedPrompter prompter;
    auto compared = newWindow(prompter);
    compared->form().Porownanie1->setChecked(false);
    prompter.answerNextFiles({path(QStringLiteral("flights/") + kLow).toStdString()});
    compared->form().B_Porownanie->click();

    MainWindowForm& a = m_window->form();
    MainWindowForm& b = compared->form();
    QCOMPARE(a.GroupB_Por->title(), QString(kLow));
    QVERIFY(a.Porownanie1->isChecked());
    QCOMPARE(a.E_Zaw_Por->text(), QString("9"));
    QCOMPARE(a.E_Zaw_Por->text(), b.E_Zaw_Por->text());
    QCOMPARE(a.E_NrS_Por->text(), b.E_NrS_Por->text());
    QCOMPARE(a.E_Max_Por->text(), b.E_Max_Por->text());
    QCOMPARE(a.Chart1->pointCount(ChartView::Series3), b.Chart1->pointCount(ChartView::Series3));
    QVERIFY(a.Chart1->pointCount(ChartView::Series3) > 0);
    // The current flight is not touched.
    QCOMPARE(m_window->currentFlight().rawLength, 0);
}

void FlightLogWindowTest::aFileThatIsNoFlightIsQuestionedAsByLoad() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    const int notes = rowOf(log, "notes.txt");
    QVERIFY(notes >= 0);
    QCOMPARE(log->table()->item(notes, FlightLogWindow::Status)->text(), QString("nie lot"));
    log->table()->selectRow(notes);
    m_prompter->answerNextMessages({false});
    log->openButton()->click();
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].buttons, vtl::PromptButtons::OkCancel);
    QCOMPARE(m_window->currentFlight().rawLength, 0);
    // Declined: nothing changed, and the log changed no file.
    QCOMPARE(readFile(path("flights/notes.txt")), QByteArray("Wind 3 m/s\n"));
}

void FlightLogWindowTest::sortsFiltersAndExports() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    QTableWidget* table = log->table();
    // Numbers sort as numbers: 120 m above 30 m, and "9" below "777".
    table->sortByColumn(FlightLogWindow::Maximum, Qt::DescendingOrder);
    QCOMPARE(table->item(0, FlightLogWindow::FileName)->text(), QString(kHigh));
    QCOMPARE(table->item(1, FlightLogWindow::FileName)->text(), QString(kLow));
    table->sortByColumn(FlightLogWindow::Serial, Qt::AscendingOrder);
    QCOMPARE(table->item(1, FlightLogWindow::Serial)->text(), QString("777"));
    QCOMPARE(table->item(2, FlightLogWindow::Serial)->text(), QString("1234"));

    log->filterField()->setText("777");
    QCOMPARE(log->shownRows().size(), size_t{1});
    QCOMPARE(log->progressLine()->text(), QString("1 / 3")); // shown of all
    QCOMPARE(log->shownRows()[0].fileName, std::string(kLow));
    log->filterField()->setText("2026-06-14");
    QCOMPARE(log->shownRows().size(), size_t{1});
    QCOMPARE(log->shownRows()[0].fileName, std::string(kHigh));

    m_prompter->answerNextFiles({path("log.csv").toStdString()});
    log->exportButton()->click();
    QCOMPARE(m_prompter->fileDialogs().back().first, vtl::FileDialog::Export);
    QCOMPARE(readFile(path("log.csv")),
             QByteArray::fromStdString(vtl::flightLogCsv(log->shownRows())));
    QVERIFY(readFile(path("log.csv")).contains(kHigh));
    QVERIFY(!readFile(path("log.csv")).contains(kLow));
    log->filterField()->clear();
    QCOMPARE(log->progressLine()->text(), QString("3 / 3"));
}

void FlightLogWindowTest::followsTheLanguageAndKeepsItsColumns() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    QCOMPARE(m_window->form().Dziennik1->text(), QString("Dziennik lotów"));
    QCOMPARE(log->windowTitle(), QString("Dziennik lotów"));
    m_window->form().English1->trigger();
    QCOMPARE(m_window->form().Dziennik1->text(), QString("Flight log"));
    QCOMPARE(log->windowTitle(), QString("Flight log"));
    QCOMPARE(log->openButton()->text(), QString("Open"));
    QCOMPARE(log->table()->horizontalHeaderItem(FlightLogWindow::Competitor)->text(),
             QString("Competitor"));
    QCOMPARE(log->table()->item(rowOf(log, "notes.txt"), FlightLogWindow::Status)->text(),
             QString("not a flight"));
    m_window->form().Polski1->trigger();
    QCOMPARE(log->compareButton()->text(), QString("Porównaj"));

    // Its size and column widths come back in the next run, from a file of their own.
    log->table()->setColumnWidth(FlightLogWindow::FileName, 333);
    log->close();
    m_rig->close();
    QVERIFY(QFile::exists(path("vantorel-log.ini")));
    m_window = &m_rig->open();
    log = openLog();
    QVERIFY(log != nullptr);
    QCOMPARE(log->table()->columnWidth(FlightLogWindow::FileName), 333);
}

// Closing the program closes the log, which saves its size and columns, and then destroys it:
// writing the same again would hold up the program's end by another sync to disk. What changed
// after the window closed is still written.
void FlightLogWindowTest::closingTheProgramWritesTheLogsStateOnce() {
    const QString state = path("vantorel-log.ini");
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    log->table()->setColumnWidth(FlightLogWindow::FileName, 321);
    log->close();
    m_window->close();
    QVERIFY(QFile::exists(state));
    QVERIFY(QFile::remove(state));
    m_rig->close();
    QVERIFY(!QFile::exists(state));

    m_window = &m_rig->open();
    log = openLog();
    QVERIFY(log != nullptr);
    log->close();
    log->table()->setColumnWidth(FlightLogWindow::FileName, 345);
    m_window->close();
    m_rig->close();
    const QList<QVariant> widths =
        QSettings(state, QSettings::IniFormat).value("window/columns").toList();
    QCOMPARE(widths.size(), int(FlightLogWindow::ColumnCount));
    QCOMPARE(widths[FlightLogWindow::FileName].toInt(), 345);
}

// Each column keeps its own title and each row's state its own word, in either language.
void FlightLogWindowTest::everyCaptionInBothLanguages() {
    struct Shown {
        QAction* choice;
        QString title;
        QStringList buttons; // folder, open, compare, export
        QString filterHint;
        QStringList headers;
        QString ok;
        QString notAFlight;
    };
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    const Shown english{m_window->form().English1,
                        "Flight log",
                        {"Folder…", "Open", "Compare", "Export"},
                        "Filter: competitor, serial, date or note",
                        {"Downloaded", "Serial", "Competitor", "Sampling", "Temp. °C", "Maximum m",
                         "To maximum s", "Flight time", "Best climb m/s", "Mean sink m/s", "Status",
                         "File", "Notes"},
                        "ok",
                        "not a flight"};
    const Shown polish{m_window->form().Polski1,
                       "Dziennik lotów",
                       {"Folder…", "Otwórz", "Porównaj", "Eksport"},
                       "Filtr: zawodnik, numer seryjny, data lub uwagi",
                       {"Pobrano", "Nr seryjny", "Zawodnik", "Próbkowanie", "Temp. °C",
                        "Maksimum m", "Do maksimum s", "Czas lotu", "Najl. wznoszenie m/s",
                        "Śr. opadanie m/s", "Stan", "Plik", "Uwagi"},
                       "dobry",
                       "nie lot"};
    for (const Shown& shown : {english, polish}) {
        shown.choice->trigger();
        QCOMPARE(m_window->form().Dziennik1->text(), shown.title);
        QCOMPARE(log->windowTitle(), shown.title);
        QCOMPARE((QStringList{log->folderButton()->text(), log->openButton()->text(),
                              log->compareButton()->text(), log->exportButton()->text()}),
                 shown.buttons);
        QCOMPARE(log->filterField()->placeholderText(), shown.filterHint);
        QStringList headers;
        for (int column = 0; column < FlightLogWindow::ColumnCount; ++column) {
            headers << log->table()->horizontalHeaderItem(column)->text();
        }
        QCOMPARE(headers, shown.headers);
        QCOMPARE(log->table()->item(rowOf(log, kHigh), FlightLogWindow::Status)->text(), shown.ok);
        QCOMPARE(log->table()->item(rowOf(log, "notes.txt"), FlightLogWindow::Status)->text(),
                 shown.notAFlight);
    }
}

void FlightLogWindowTest::broughtBackItListsFlightsArchivedMeanwhile() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    QCOMPARE(log->table()->rowCount(), 3);
    log->close();
    writeFile(path(QStringLiteral("flights/2026-06-16_120000_S1234_C42.bin")),
              flightBytes(8000, 42, 1234));
    QCOMPARE(openLog(), log);
    QVERIFY(log->isVisible());
    QCOMPARE(log->table()->rowCount(), 4);
    QVERIFY(rowOf(log, QStringLiteral("2026-06-16_120000_S1234_C42.bin")) >= 0);
}

// The maximum, the altitudes and the flight time read the same in the panel, the figures line, the
// log's row and its CSV; each window's numbers take the locale's separator whatever the language,
// the CSV always '.'.
void FlightLogWindowTest::oneNumberAndOneSeparatorEverywhere() {
    const QString name = QStringLiteral("2026-06-16_120000_S5585_C55.bin");
    writeFile(path(QStringLiteral("flights/") + name), halfMetreFlightBytes());
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    MainWindowForm& f = m_window->form();
    struct Case {
        QLocale locale;
        QAction* language;
        QString maximum; // the word before it in the figures line
        QString shown;
    };
    const Case cases[] = {{QLocale::c(), f.Polski1, "maks.", "55.8"},
                          {QLocale(QLocale::Polish, QLocale::Poland), f.English1, "max", "55,8"}};
    for (const Case& c : cases) {
        QLocale::setDefault(c.locale);
        c.language->trigger();
        m_prompter->answerNextFiles({path(QStringLiteral("flights/") + name).toStdString()});
        f.BOdczyt->click();
        QCOMPARE(f.E_MaxGl->text(), c.shown);
        const QString line = f.LFigures1->text();
        QCOMPARE(figureAfter(line, c.maximum), c.shown);
        // Every number of the line has the window's separator, none the other.
        const QChar other = c.shown.contains(QLatin1Char('.')) ? QChar(',') : QChar('.');
        QVERIFY2(!line.contains(other), qPrintable(line));
        const QString flightTime = line.section(QLatin1Char(' '), 1, 1);
        QVERIFY2(flightTime.contains(QLatin1Char(':')), qPrintable(line));

        log->setFolder(log->folder());
        QSignalSpy finished(log, &FlightLogWindow::scanFinished);
        QVERIFY(finished.wait(10000));
        const int row = rowOf(log, name);
        QCOMPARE(log->table()->item(row, FlightLogWindow::Maximum)->text(), c.shown);
        QCOMPARE(log->table()->item(row, FlightLogWindow::FlightTime)->text(), flightTime);
        QVERIFY(!log->table()->item(row, FlightLogWindow::MeanSink)->text().contains(other));
        log->filterField()->setText("5585");
        m_prompter->answerNextFiles({path("one.csv").toStdString()});
        log->exportButton()->click();
        QVERIFY(readFile(path("one.csv")).contains(",55.8,"));
        log->filterField()->clear();
    }

    // The filtered curve's panel shows its exact centimetres; the figures line follows it.
    f.B_Filtr_Vtl->click();
    QCOMPARE(figureAfter(f.LFigures1->text(), "max"), f.E_MaxGl->text());
}

void FlightLogWindowTest::exportNamesACsvFileInTheListedFolder() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    // The first export of a listing starts in the listed folder; a name typed without ".csv" gets
    // it.
    m_prompter->answerNextFiles({path("flights/summer").toStdString()});
    log->exportButton()->click();
    QCOMPARE(m_prompter->fileDialogs().back().second, path("flights").toStdString());
    QVERIFY(QFile::exists(path("flights/summer.csv")));
    QVERIFY(!QFile::exists(path("flights/summer")));
    // A file that is there is replaced only when the user says so.
    QVERIFY(writeFile(path("flights/summer.csv"), "kept\n"));
    for (const bool replace : {false, true}) {
        m_prompter->answerNextFiles({path("flights/summer").toStdString()});
        m_prompter->answerNextMessages({replace});
        const size_t asked = m_prompter->messages().size();
        log->exportButton()->click();
        QCOMPARE(m_prompter->messages().size(), asked + 1);
        QCOMPARE(m_prompter->messages().back().buttons, vtl::PromptButtons::OkCancel);
        QCOMPARE(readFile(path("flights/summer.csv")) == "kept\n", !replace);
    }

    QDir(m_rig->folder()).mkdir(QStringLiteral("club"));
    writeFile(path(QStringLiteral("club/") + kLow), flightBytes(3000, 9, 777));
    log->setFolder(path("club"));
    QSignalSpy finished(log, &FlightLogWindow::scanFinished);
    QVERIFY(finished.wait(10000));
    m_prompter->answerNextFiles({path("club/club.csv").toStdString()});
    log->exportButton()->click();
    QCOMPARE(m_prompter->fileDialogs().back().second, path("club").toStdString());
    QVERIFY(QFile::exists(path("club/club.csv")));
    // Later exports of the same listing start at the last name.
    m_prompter->answerNextFiles({});
    log->exportButton()->click();
    QCOMPARE(m_prompter->fileDialogs().back().second, path("club/club.csv").toStdString());
}

// At 1280 pixels, the widest a laptop gives a window, the file names and their states are not
// pushed off the right.
void FlightLogWindowTest::everyColumnOnScreenAtTheUsualWidth() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    log->resize(1280, 600);
    QVERIFY(QTest::qWaitForWindowExposed(log));
    QTableWidget* table = log->table();
    for (const int column : {FlightLogWindow::FileName, FlightLogWindow::Status}) {
        const int right =
            table->horizontalHeader()->sectionViewportPosition(column) + table->columnWidth(column);
        QVERIFY2(right <= table->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(right).arg(table->viewport()->width())));
    }
    QVERIFY(table->columnWidth(FlightLogWindow::FileName) >=
            table->fontMetrics().horizontalAdvance(kHigh));
}

// The status line says why nothing is listed, in the window's language, until a folder lists.
void FlightLogWindowTest::aFolderThatCannotBeListedIsSaidSo() {
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    QSignalSpy finished(log, &FlightLogWindow::scanFinished);
    log->setFolder(path("missing"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(log->table()->rowCount(), 0);
    QCOMPARE(log->progressLine()->text(),
             QStringLiteral("Nie można odczytać folderu %1: nie ma takiego folderu")
                 .arg(path("missing")));
    m_window->form().English1->trigger();
    QCOMPARE(log->progressLine()->text(),
             QStringLiteral("Cannot read the folder %1: no such folder").arg(path("missing")));
    log->setFolder(path("flights"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(log->progressLine()->text(), QString("3 / 3"));
}

// A folder of the cache's name belongs to someone else: the listing works without a cache and
// its status line says so once, in the window's language, until a folder without one is listed.
void FlightLogWindowTest::aCacheNotOfTheProgramIsSaidOnce() {
    QVERIFY(QDir(path("flights")).mkdir(QString::fromLatin1(vtl::kFlightLogCacheName)));
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    const QString cache = QDir::toNativeSeparators(
        path(QStringLiteral("flights/") + QString::fromLatin1(vtl::kFlightLogCacheName)));
    QCOMPARE(log->progressLine()->text(),
             QStringLiteral("3 / 3 — %1 nie jest plikiem pamięci podręcznej programu; "
                            "pozostawiono go")
                 .arg(cache));
    m_window->form().English1->trigger();
    QCOMPARE(log->progressLine()->text(),
             QStringLiteral("3 / 3 — %1 is not this program's cache; left alone").arg(cache));
    QVERIFY(QFileInfo(cache).isDir());

    QSignalSpy finished(log, &FlightLogWindow::scanFinished);
    QVERIFY(QDir(m_rig->folder()).mkdir(QStringLiteral("other")));
    writeFile(path(QStringLiteral("other/") + kLow), flightBytes(3000, 9, 777));
    log->setFolder(path("other"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(log->progressLine()->text(), QString("1 / 1"));
}

// Rows come in batches while the files are read on every core: each row once, in its place, with
// its own figures, and the filter typed before the listing applies to every batch.
void FlightLogWindowTest::aLongListingComesWholeInOrderThroughTheFilter() {
    constexpr int kFlights = 300;
    QDir(m_rig->folder()).mkdir(QStringLiteral("year"));
    for (int i = 0; i < kFlights; ++i) {
        std::tm time{};
        time.tm_year = 2026 - 1900;
        time.tm_mon = 4;
        time.tm_mday = 1 + i / 10;
        time.tm_hour = 8 + i % 10;
        const auto name = vtl::archiveFileName(time, 1234, static_cast<uint16_t>(i));
        writeFile(path(QStringLiteral("year/") + QString::fromStdString(name)),
                  flightBytes(2000 + 10 * i, static_cast<uint16_t>(i), 1234));
    }
    FlightLogWindow* log = openLog();
    QVERIFY(log != nullptr);
    log->filterField()->setText(QStringLiteral("2026-05-03"));
    QSignalSpy finished(log, &FlightLogWindow::scanFinished);
    log->setFolder(path(QStringLiteral("year")));
    QVERIFY(finished.wait(20000));
    QTableWidget* table = log->table();
    QCOMPARE(table->rowCount(), kFlights);
    QCOMPARE(log->progressLine()->text(), QString("10 / 300"));
    QCOMPARE(log->shownRows().size(), size_t{10});
    for (const vtl::FlightLogRow& row : log->shownRows()) {
        QCOMPARE(QString::fromStdString(row.downloaded).left(10), QString("2026-05-03"));
    }
    log->filterField()->clear();
    QCOMPARE(log->progressLine()->text(), QString("300 / 300"));
    // Newest first, as read: the table sorted by date keeps the order the rows came in.
    for (int row = 0; row < kFlights; ++row) {
        QCOMPARE(table->item(row, FlightLogWindow::Downloaded)->data(Qt::UserRole).toInt(), row);
        const int competitor = kFlights - 1 - row;
        QCOMPARE(table->item(row, FlightLogWindow::Competitor)->text(),
                 QString::number(competitor));
        // The figures of the row's own file.
        vtl::FlightLogRow read;
        vtl::readFlightLogFile(
            path(QStringLiteral("year/") + table->item(row, FlightLogWindow::FileName)->text())
                .toStdString(),
            read);
        QCOMPARE(table->item(row, FlightLogWindow::Maximum)->text(),
                 QString::fromStdString(vtl::figureText(read.figures.maximumM, 1)));
    }
}

QTEST_MAIN(FlightLogWindowTest)
#include "flight_log_window_test.moc"
