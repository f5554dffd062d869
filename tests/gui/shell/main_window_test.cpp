// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/chart/top_row_layout.h"
#include "core/flight/flight_record.h"
#include "core/shell/framework_texts.h"
#include "core/shell/text_tables.h"
#include "gui/help/help_files.h"
#include "platform/settings_location.h"
#include "support/window_rig.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <filesystem>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void closingWritesTheSettingsFile();
    void startUpReadsTheSettingsFile();
    void dialogsAreBuiltFromTheLoadedSettings();
    void unwritableSettingsAreReportedOnceAndClosingStillEnds();
    void languageSwitchRelabelsEverything();
    void chartHintExplainsTheMouseInTheLanguage();
    void everyLanguageChoiceWritesTheSettingsFile();
    void helpOpensTheManualOfTheLanguage();
    void topRowFollowsTheWindowWidth();
    void menuOrderAndCheckMarks();
    void clickOnACurveBlanksItsPanelInEitherLanguage();
    void installedProgramFindsItsManualsAndKeepsSettingsAway();
    void interruptedSavesAreRecoveredAtStart();
};

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void MainWindowTest::closingWritesTheSettingsFile() {
    vtl::testing::WindowRig rig;
    const QString path = rig.path("vantorel.par");
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    TVantorel_BMP& window = rig.open(path);
    window.show();
    window.programSettings().showAcceleration = 0;
    QVERIFY(window.close());

    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), 40);
    QCOMPARE(bytes.left(5), QByteArray("COM5\0", 5));
    QCOMPARE(static_cast<int>(bytes[12]), 50);
    QCOMPARE(static_cast<int>(bytes[20]), 0);
    QVERIFY(prompter.messages().empty());
}

void MainWindowTest::startUpReadsTheSettingsFile() {
    vtl::testing::WindowRig rig;
    const QString path = rig.path("vantorel.par");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("COM12\0\0\0\x0B\0\0\0\x32\0\0\0\x07\0\0\0\0\0\0\0", 24));
    file.close();

    TVantorel_BMP& window = rig.open(path);
    QCOMPARE(QString::fromStdString(window.programSettings().portNameText()), QString("COM12"));
    QCOMPARE(window.programSettings().portIndex, 11);
    QCOMPARE(window.currentLanguage(), vtl::Language::English);
    QCOMPARE(window.programSettings().language, 7);
    QVERIFY(window.form().English1->isChecked());
    QVERIFY(!window.form().Polski1->isChecked());
    QCOMPARE(window.form().BZerowanie->text(), QString("Clear"));
    QVERIFY(!window.form().Przyspieszenie1->isChecked());
    QCOMPARE(window.programSettings().finalFilterLength, 12);
    QCOMPARE(window.currentFlight().temperature, 20.0f);
}

void MainWindowTest::dialogsAreBuiltFromTheLoadedSettings() {
    vtl::testing::WindowRig rig;
    const QString path = rig.path("vantorel.par");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("COM12\0\0\0\x0B\0\0\0\0\0\0\0\x01\0\0\0", 20));
    file.close();

    TVantorel_BMP& window = rig.open(path);
    QStringList names;
    for (QDialog* dialog : window.findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        QVERIFY(dialog->isWindow());
        QVERIFY(!dialog->isVisible());
        names << dialog->objectName();
    }
    QCOMPARE(names, QStringList({"FormUstawienia", "FoInfo", "F_Filtr"}));
    auto* port = window.findChild<QComboBox*>(QStringLiteral("CB_Numer_Portu"));
    QVERIFY(port != nullptr);
    QCOMPARE(port->currentText(), QString("COM12"));
    auto* zeroing = window.findChild<QComboBox*>(QStringLiteral("ComboB_Zer"));
    QVERIFY(zeroing != nullptr);
    QCOMPARE(zeroing->itemText(1), QString::fromStdString(vtl::caption(vtl::SettingsCaption::Yes,
                                                                       vtl::Language::English)));
}

void MainWindowTest::unwritableSettingsAreReportedOnceAndClosingStillEnds() {
    vtl::testing::WindowRig rig;
    const QString path = rig.path("missing-folder/vantorel.par");
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    TVantorel_BMP& window = rig.open(path);
    window.show();
    QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    window.show();
    QVERIFY(window.close());
    QCOMPARE(prompter.messages().size(), size_t{1});
    QCOMPARE(prompter.messages()[0].text,
             vtl::cannotCreateFileText(path.toStdString(), ENOENT, vtl::Language::Polish));
}

void MainWindowTest::languageSwitchRelabelsEverything() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    MainWindowForm& f = window.form();

    struct Caption {
        std::function<QString()> shown;
        QString polish;
        QString english;
    };
    auto button = [](QPushButton* b) { return [b] { return b->text(); }; };
    auto label = [](QLabel* l) { return [l] { return l->text(); }; };
    auto group = [](QGroupBox* g) { return [g] { return g->title(); }; };
    auto action = [](QAction* a) { return [a] { return a->text(); }; };
    auto menu = [](QMenu* m) { return [m] { return m->title(); }; };
    auto series = [&f](ChartView::Series s) { return [&f, s] { return f.Chart1->title(s); }; };
    const std::vector<Caption> captions = {
        {button(f.BZerowanie), "Zerowanie", "Clear"},
        {button(f.B_Odczyt_Vantorelu), "Odczyt Vantorelu", "Read Vantoreal"},
        {group(f.GBDysk_ZapisOdczyt), "Dysk - Zapis/Odczyt", "Disc - Save/Load"},
        {button(f.BZapisz), "Zapisz", "Save"},
        {button(f.BOdczyt), "Odczyt", "Load"},
        {label(f.LTemp1), "Temperatura", "Temperature"},
        {label(f.LTemp2), "Temperatura", "Temperature"},
        {label(f.LProbk1), "Pomiary", "Sampling"},
        {label(f.LProbk2), "Pomiary", "Sampling"},
        {label(f.LZaw1), "Nr.Zawodnika", "Competitor No."},
        {label(f.LZaw2), "Nr.Zawodnika", "Competitor No."},
        {label(f.L_NumSer1), "Nr.Seryjny", "Serial No."},
        {label(f.L_NumSer2), "Nr.Seryjny", "Serial No."},
        {button(f.B_Porownanie), "Porównanie", "Compare   "},
        {group(f.GroupB_Vtl), "Vantorel", "Vantoreal"},
        {group(f.GroupB_Por), "Plik", "File"},
        {[&window] { return window.windowTitle(); }, "Vantorel BMP    Ver. 12.2013",
         "Vantoreal BMP    Ver. 12.2013"},
        {menu(f.Ustawienia1), "Ustawienia", "Setup"},
        {action(f.Vantorel1), "Vantorel", "Vantoreal"},
        {menu(f.Widok1), "Wykresy", "Charts"},
        {action(f.Przyspieszenie1), "Przyspieszenie", "Acceleration  "},
        {action(f.Porownanie1), "Porównanie", "Compare   "},
        {action(f.UstawDrukarke1), "Ustaw Drukarke", "Printer Setup"},
        {action(f.Drukuj1), "Drukuj", "Print"},
        {action(f.ZapiszObraz1), "Zapisz Obraz", "Save Picture"},
        {action(f.ZapiszdoExcela1), "Export do Excel", "Export to Excel"},
        {series(ChartView::Series1), "Wysokosc", "Altitude"},
        {series(ChartView::Series2), "Przyspieszenie", "Acceleration  "},
        {series(ChartView::Series3), "Porównanie", "Compare   "},
        // Texts that stay the same in both languages.
        {button(f.B_Filtr_Vtl), "Filtr", "Filtr"},
        {action(f.Warto1), "Wartosci", "Wartosci"},
        {menu(f.MenuJezyk), "Język/Language", "Język/Language"},
        {series(ChartView::Series5), "Filtr1", "Filtr1"},
    };
    for (const Caption& c : captions) {
        QCOMPARE(c.shown(), c.polish);
    }
    f.English1->trigger();
    QCOMPARE(window.currentLanguage(), vtl::Language::English);
    QVERIFY(f.English1->isChecked() && !f.Polski1->isChecked());
    for (const Caption& c : captions) {
        QCOMPARE(c.shown(), c.english);
    }
    f.Polski1->trigger();
    QVERIFY(!f.English1->isChecked() && f.Polski1->isChecked());
    for (const Caption& c : captions) {
        QCOMPARE(c.shown(), c.polish);
    }
}

void MainWindowTest::chartHintExplainsTheMouseInTheLanguage() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    MainWindowForm& f = window.form();
    const auto mentionsAll = [&f](const QStringList& phrases) {
        for (const QString& phrase : phrases) {
            if (!f.Chart1->toolTip().contains(phrase)) {
                return false;
            }
        }
        return true;
    };
    const QStringList polish = {"w prawo w dół", "w lewo lub w górę", "prawym przyciskiem",
                                "Kółko myszy", "Kliknięcie krzywej usuwa"};
    const QStringList english = {"right and down", "left or up", "right button", "wheel",
                                 "click on a curve removes it"};
    QVERIFY(mentionsAll(polish));
    f.English1->trigger();
    QVERIFY(mentionsAll(english));
    f.Polski1->trigger();
    QVERIFY(mentionsAll(polish));
}

void MainWindowTest::everyLanguageChoiceWritesTheSettingsFile() {
    vtl::testing::WindowRig rig;
    const QString path = rig.path("vantorel.par");
    TVantorel_BMP& window = rig.open(path);
    for (QAction* choice : {window.form().English1, window.form().English1, window.form().Polski1,
                            window.form().Polski1}) {
        QFile::remove(path);
        choice->trigger();
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.size(), 40);
        QCOMPARE(static_cast<int>(bytes[16]), choice == window.form().English1 ? 1 : 0);
    }
}

void MainWindowTest::helpOpensTheManualOfTheLanguage() {
    vtl::testing::WindowRig rig;
    for (const char* name : {"Vtl_HELPP.html", "Vtl_HELPA.html", "Vtl_HELPA.chm"}) {
        QFile file(rig.path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    TVantorel_BMP& window = rig.open(rig.path("vantorel.par"), rig.folder());
    window.form().Help1->trigger();
    window.form().English1->trigger();
    window.form().Help1->trigger();
    QVERIFY(!window.FormHelp());
    const std::vector<std::string> expected = {rig.path("Vtl_HELPP.html").toStdString(),
                                               rig.path("Vtl_HELPA.chm").toStdString(),
                                               rig.path("Vtl_HELPA.chm").toStdString()};
    QCOMPARE(prompter.openedDocuments(), expected);
}

void MainWindowTest::topRowFollowsTheWindowWidth() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    window.show();
    MainWindowForm& f = window.form();
    window.resize(1280, 900);
    QTRY_COMPARE(f.client->width(), 1280);
    QCOMPARE(f.B_Odczyt_Vantorelu->x(), 10);
    QCOMPARE(f.BZerowanie->x(), 10);
    QCOMPARE(f.B_Filtr_Vtl->x(), 98);
    QCOMPARE(f.GroupB_Vtl->x(), 184);
    QCOMPARE(f.GBDysk_ZapisOdczyt->x(), 536);
    QCOMPARE(f.B_Porownanie->x(), 863);
    QCOMPARE(f.B_Filtr_por->x(), 863);
    QCOMPARE(f.GroupB_Por->x(), 975);
    // The chart ends above the strip of the two figures lines.
    QCOMPARE(f.Chart1->geometry(),
             QRect(8, 120, 1265, f.client->height() - 120 - vtl::kFiguresStripHeight));
    QCOMPARE(f.LFigures1->geometry(), QRect(8, f.Chart1->geometry().bottom() + 3, 1265, 18));
    QCOMPARE(f.LFigures2->y(), f.LFigures1->y() + 18);
    QCOMPARE(f.B_Porownanie->y(), 8);

    window.resize(300, 200);
    QTRY_COMPARE(f.Chart1->size(), QSize(500, 200));
}

void MainWindowTest::menuOrderAndCheckMarks() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    QStringList names;
    for (QAction* top : window.menuBar()->actions()) {
        names << top->objectName() + (top->menu() ? QString("/") + top->menu()->objectName() : "");
        if (top->menu() != nullptr) {
            for (QAction* item : top->menu()->actions()) {
                names << "  " + item->objectName();
            }
        }
    }
    const QStringList expected = {"/Ustawienia1",
                                  "  Vantorel1",
                                  "  Filtr3",
                                  "  Se1",
                                  "/Widok1",
                                  "  Przyspieszenie1",
                                  "  Porownanie1",
                                  "  Warto1",
                                  "  Dziennik1",
                                  "  Nakladka1",
                                  "  UsunKursory",
                                  "/E1",
                                  "  UstawDrukarke1",
                                  "  Drukuj1",
                                  "  ZapiszObraz1",
                                  "  ZapiszdoExcela1",
                                  "Zawody1",
                                  "/MenuJezyk",
                                  "  Polski1",
                                  "  English1",
                                  "Info1",
                                  "Help1"};
    QCOMPARE(names, expected);
    QVERIFY(window.form().Przyspieszenie1->isChecked());
    QVERIFY(window.form().Porownanie1->isChecked());
    QVERIFY(!window.form().Warto1->isChecked());
    QVERIFY(window.form().Polski1->isChecked() && !window.form().English1->isChecked());

    window.form().Warto1->trigger();
    QVERIFY(window.form().Chart1->marksVisible(ChartView::Series1));
    QVERIFY(window.form().Chart1->marksVisible(ChartView::Series3));
    window.form().Warto1->trigger();
    QVERIFY(!window.form().Chart1->marksVisible(ChartView::Series1));
}

void MainWindowTest::clickOnACurveBlanksItsPanelInEitherLanguage() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    MainWindowForm& f = window.form();
    ChartView& chart = *f.Chart1;
    auto fill = [&] {
        for (QLineEdit* e :
             {f.E_MaxGl, f.EMinimum, f.E_TempGl, f.E_probkGl, f.E_NrZawodnika, f.E_NrSeryjny,
              f.E_Max_Por, f.E_Min_Por, f.E_probkPor, f.E_TempPor, f.E_Zaw_Por, f.E_NrS_Por}) {
            e->setText("1");
        }
        f.GroupB_Vtl->setTitle("flight.bin");
        f.GroupB_Por->setTitle("other.bin");
        for (ChartView::Series s : {ChartView::Series1, ChartView::Series2, ChartView::Series3}) {
            chart.Add(s, 1.0, "");
        }
    };
    for (QAction* language : {f.Polski1, f.English1}) {
        language->trigger();
        const bool polish = language == f.Polski1;
        fill();
        // The climb curve has no panel of its own: only the curve goes.
        emit chart.OnClickSeries(ChartView::Series2);
        QCOMPARE(chart.pointCount(ChartView::Series2), 0);
        QCOMPARE(f.E_MaxGl->text(), QString("1"));
        QCOMPARE(f.E_Max_Por->text(), QString("1"));

        emit chart.OnClickSeries(ChartView::Series3);
        QCOMPARE(chart.pointCount(ChartView::Series3), 0);
        QCOMPARE(f.E_Max_Por->text(), QString());
        QCOMPARE(f.GroupB_Por->title(), QString(polish ? "Plik" : "File"));
        QCOMPARE(f.E_MaxGl->text(), QString("1"));
        QCOMPARE(chart.pointCount(ChartView::Series1), 1);

        emit chart.OnClickSeries(ChartView::Series1);
        QCOMPARE(chart.pointCount(ChartView::Series1), 0);
        QCOMPARE(f.E_MaxGl->text(), QString());
        QCOMPARE(f.E_NrSeryjny->text(), QString());
        QCOMPARE(f.GroupB_Vtl->title(), QString(polish ? "Vantorel" : "Vantoreal"));
    }
}

void MainWindowTest::installedProgramFindsItsManualsAndKeepsSettingsAway() {
#ifdef Q_OS_WIN
    QSKIP("the installed layout is Linux's; windows_platform_tests checks Windows's");
#endif
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir prefix;
    QVERIFY(QDir().mkpath(prefix.filePath("bin")));
    QVERIFY(QDir().mkpath(prefix.filePath("share/vantorel/help")));
    QFile manual(prefix.filePath("share/vantorel/help/Vtl_HELPA.html"));
    QVERIFY(manual.open(QIODevice::WriteOnly));
    QTemporaryDir working;
    QCOMPARE(vtl::helpFilePath(working.path(), prefix.filePath("bin"), vtl::Language::English),
             QFileInfo(manual.fileName()).absoluteFilePath());
    QCOMPARE(vtl::helpFilePath(working.path(), prefix.filePath("bin"), vtl::Language::Polish),
             QString()); // no Polish manual there

    const QString settings = vtl::resolveSettingsFilePath(prefix.filePath("bin/vantorel"));
    QVERIFY(!settings.startsWith(prefix.path()));
    QVERIFY(settings.endsWith("/vantorel/vantorel.par"));
    // A program run from its build folder keeps the file beside itself.
    QTemporaryDir build;
    QCOMPARE(vtl::resolveSettingsFilePath(build.filePath("vantorel")),
             build.filePath("vantorel.par"));
}

// A stopped save's flight in the archive is kept under its archive name when the window starts,
// and the status line says where, in the language of the window; what was no flight goes.
void MainWindowTest::interruptedSavesAreRecoveredAtStart() {
#ifdef Q_OS_WIN
    QSKIP("Windows finds the archive through the user's known folders, which a test cannot move");
#endif
    // The archive is found where the user's is, here in a folder of the test's own.
    QStandardPaths::setTestModeEnabled(false);
    QTemporaryDir data;
    const QByteArray previousData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    const QString flights = data.filePath(QStringLiteral("vantorel/flights"));
    QVERIFY(QDir().mkpath(flights));
    vtl::testing::FlightDescription flight;
    flight.serialNumber = 1234;
    flight.competitorNumber = 42;
    flight.altitudeCm = vtl::testing::climbAndGlide(100, 3000, 100);
    const QByteArray whole = vtl::testing::flightBytes(flight);
    const QString temporary = flights + QStringLiteral("/.vtl-Ab12cd");
    const QString cache = flights + QStringLiteral("/.vtl-q8Zr2x");
    QVERIFY(vtl::testing::writeFile(temporary, whole));
    QVERIFY(vtl::testing::writeFile(cache, "vantorel-log-cache 2\n"));
    for (const QString& path : {temporary, cache}) {
        std::filesystem::last_write_time(path.toStdString(),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::minutes(10));
    }

    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    qputenv("XDG_DATA_HOME", previousData);
    const QStringList kept = QDir(flights).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(kept.size(), 1);
    QVERIFY2(kept[0].endsWith(QStringLiteral("_S1234_C42_recovered.bin")), qPrintable(kept[0]));
    const QString path = QDir(flights).filePath(kept[0]);
    QCOMPARE(vtl::testing::readFile(path), whole);
    QCOMPARE(window.form().LStatus->text(),
             QStringLiteral("Odzyskano plik lotu %1 z przerwanego zapisu.").arg(path));
    window.form().English1->trigger();
    QCOMPARE(window.form().LStatus->text(),
             QStringLiteral("Recovered the flight file %1 from an interrupted save.").arg(path));
    QVERIFY(rig.prompter().messages().empty());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
