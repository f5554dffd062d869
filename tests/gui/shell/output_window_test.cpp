// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/chart/top_row_layout.h"
#include "core/flight/flight_record.h"
#include "support/window_rig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

namespace {

using vtl::testing::readFile;

void writeFlight(const QString& path, uint8_t code, int samples) {
    vtl::testing::FlightDescription flight;
    flight.samplingCode = code;
    flight.altitudeCm.assign(10, 0);
    for (int i = 1; i < samples - 10; ++i) {
        flight.altitudeCm.push_back(std::min(i * 40, 6000));
    }
    vtl::testing::writeFlightFile(path.toStdString(), flight);
}

uint32_t littleEndian32(const QByteArray& bytes, int offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
    }
    return value;
}

// The /MediaBox of the first page of one of Qt's PDF files, in points.
QSizeF mediaBox(const QByteArray& pdf) {
    const QRegularExpression box(
        QStringLiteral(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])"));
    const QRegularExpressionMatch match = box.match(QString::fromLatin1(pdf));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble())
                            : QSizeF();
}

// A machine's printers as a test wants them.
class ListedPrinters : public vtl::PrinterDirectory {
public:
    ListedPrinters(std::vector<std::string> names, std::string fallback)
        : m_names(std::move(names)), m_default(std::move(fallback)) {}
    std::vector<std::string> printerNames() const override { return m_names; }
    std::string defaultPrinterName() const override { return m_default; }

private:
    std::vector<std::string> m_names;
    std::string m_default;
};

} // namespace

class OutputWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exportWritesTheDrawnPoints();
    void pictureIsAWindowsBitmapOfTheChart();
    void outputTitleDescribesTheFlight();
    void commandLineDrawsTheWindowsPicture();
    void printGoesToThePrinterChosenInTheSetup();
    void printerChoicesSurviveAPrint();
    void printWithoutAUsablePrinterSaysSo();
    void statusLineTellsWhereTheOutputWent();
    void eachKindOfOutputStartsWhereItsLastFileWent();
    void zoomShowsAMinorGridForShortStretches();

private:
    void load(const QString& path);
    QString path(const char* name) const { return m_rig->path(name); }

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    vtl::testing::ScriptedPrompter* m_prompter = nullptr;
    TVantorel_BMP* m_window = nullptr;
};

void OutputWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    m_prompter = &m_rig->prompter();
    m_window = &m_rig->open();
    m_window->resize(1280, 900);
    m_window->show();
    writeFlight(path("flight.bin"), 2, 400);
}

void OutputWindowTest::cleanup() {
    m_rig.reset();
}

void OutputWindowTest::load(const QString& file) {
    m_rig->load(file);
}

void OutputWindowTest::exportWritesTheDrawnPoints() {
    m_window->form().ZapiszdoExcela1->trigger();
    QCOMPARE(m_prompter->messages().back().text, std::string("Brak danych"));
    QVERIFY(m_prompter->fileDialogs().empty());

    load(path("flight.bin"));
    m_prompter->answerNextFiles({path("lot").toStdString()});
    m_window->form().ZapiszdoExcela1->trigger();
    const QByteArray bytes = readFile(path("lot.csv"));
    QCOMPARE(bytes.count("\n\r"), m_window->form().Chart1->pointCount(ChartView::Series1));
    QVERIFY(bytes.startsWith("0.0\n\r0.0\n\r"));
    QVERIFY(bytes.endsWith("60.0\n\r") || bytes.endsWith("59.9\n\r") || bytes.endsWith("60.1\n\r"));

    // The export has its own dialog and starts at its own last name, kept as given.
    QCOMPARE(m_prompter->fileDialogs().back().first, vtl::FileDialog::Export);
    m_prompter->answerNextFiles({path("lot").toStdString()});
    m_prompter->answerNextMessages({false});
    {
        QFile old(path("lot.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    m_window->form().ZapiszdoExcela1->trigger();
    QCOMPARE(m_prompter->fileDialogs().back().second, path("lot").toStdString());
    QCOMPARE(m_prompter->messages().back().text, std::string("Plik istnieje. Zapisać?"));
    QCOMPARE(readFile(path("lot.csv")), QByteArray("old"));
}

void OutputWindowTest::pictureIsAWindowsBitmapOfTheChart() {
    load(path("flight.bin"));
    ChartView& chart = *m_window->form().Chart1;
    const QColor panel = chart.panelColor();
    m_prompter->answerNextFiles({path("chart").toStdString()});
    m_window->form().ZapiszObraz1->trigger();

    // Read the header ourselves rather than trust the library that wrote it.
    const QByteArray bmp = readFile(path("chart.bmp"));
    QVERIFY(bmp.startsWith("BM"));
    QCOMPARE(littleEndian32(bmp, 2), static_cast<uint32_t>(bmp.size()));
    QCOMPARE(static_cast<int>(littleEndian32(bmp, 18)), chart.width());
    QCOMPARE(static_cast<int>(littleEndian32(bmp, 22)), chart.height());

    QCOMPARE(chart.titleLines(), QStringList{"        Wysokosc / Altitude"});
    QCOMPARE(chart.panelColor(), panel);

    // A cancelled dialog writes nothing and restores all the same.
    m_window->form().ZapiszObraz1->trigger();
    QCOMPARE(chart.titleLines(), QStringList{"        Wysokosc / Altitude"});
    QCOMPARE(m_prompter->fileDialogs().back().first, vtl::FileDialog::Picture);
    QCOMPARE(m_prompter->fileDialogs().back().second, path("chart").toStdString());
}

void OutputWindowTest::outputTitleDescribesTheFlight() {
    load(path("flight.bin"));
    // A temperature typed but not entered is not the one the curve is drawn at.
    QTest::keyClicks(m_window->form().E_TempGl, QStringLiteral("5"));
    ChartView& chart = *m_window->form().Chart1;
    ChartOutput output(chart, m_window->languageSelector());
    output.prepareChartForOutput(m_window->outputPanel());
    const QStringList lines = chart.titleLines();
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0],
             QString("        Odczyt z: flight.bin    Nr.Zawodnika: 42    Nr.Seryjny: 1234"));
    QCOMPARE(lines[1], QString(" "));
    // The flight has no minimum: its field keeps the three blanks of the load.
    QCOMPARE(lines[2], "        Max: " + m_window->form().E_MaxGl->text() +
                           " m    Min:    m    Temp: 20°C    Pomiary: 10 pom/sek");
    // The flight figures as the line under the chart shows them; this flight ends in the air.
    QVERIFY(m_window->form().LFigures1->text().startsWith("start "));
    QCOMPARE(lines[3], "        " + m_window->form().LFigures1->text());
    QCOMPARE(chart.panelColor(), QColor(Qt::white));
    output.restore();
    QCOMPARE(chart.panelColor(), QColor(243, 243, 243));
}

// The command line draws without the window, through the same presenter and output: at the
// window's chart size its picture is the window's, byte for byte.
void OutputWindowTest::commandLineDrawsTheWindowsPicture() {
    writeFlight(path("second.bin"), 3, 300);
    load(path("flight.bin"));
    m_prompter->answerNextFiles({path("second.bin").toStdString()});
    m_window->form().B_Porownanie->click();
    m_prompter->answerNextFiles({path("window.bmp").toStdString()});
    m_window->form().ZapiszObraz1->trigger();
    const ChartView& chart = *m_window->form().Chart1;

    QProcess cli;
    cli.start(QStringLiteral(VTL_CLI_PATH),
              {QStringLiteral("render"), path("flight.bin"), path("cli.bmp"),
               QStringLiteral("--comparison"), path("second.bin"), QStringLiteral("--width"),
               QString::number(chart.width()), QStringLiteral("--height"),
               QString::number(chart.height())});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 0);
    const QByteArray windowPicture = readFile(path("window.bmp"));
    QVERIFY(windowPicture.startsWith("BM"));
    QVERIFY(readFile(path("cli.bmp")) == windowPicture);
}

void OutputWindowTest::printGoesToThePrinterChosenInTheSetup() {
    load(path("flight.bin"));
    vtl::PrinterChoices choices;
    choices.landscape = true;
    choices.outputFile = path("page.pdf").toStdString();
    m_prompter->answerPrinterSetup(choices);
    m_window->form().UstawDrukarke1->trigger();
    QCOMPARE(m_window->printerChoices().outputFile, choices.outputFile);

    m_window->form().Drukuj1->trigger();
    const QByteArray pdf = readFile(path("page.pdf"));
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.size() > 10000);
    QCOMPARE(m_window->form().Chart1->titleLines(), QStringList{"        Wysokosc / Altitude"});
}

void OutputWindowTest::printerChoicesSurviveAPrint() {
    load(path("flight.bin"));
    vtl::PrinterChoices choices;
    choices.landscape = true;
    choices.outputFile = path("a5.pdf").toStdString();
    choices.paperName = "A5";
    choices.paperWidthMm = 148.0;
    choices.paperHeightMm = 210.0;
    choices.margins = vtl::PageMargins{12.0, 8.0, 6.0, 20.0};
    m_prompter->answerPrinterSetup(choices);
    m_window->form().UstawDrukarke1->trigger();

    // The print is on the chosen paper, turned as chosen: A5 across is 595 by 420 points.
    m_window->form().Drukuj1->trigger();
    const QSizeF page = mediaBox(readFile(path("a5.pdf")));
    QVERIFY2(qAbs(page.width() - 595.3) < 1.0 && qAbs(page.height() - 419.5) < 1.0,
             qPrintable(QStringLiteral("%1 x %2").arg(page.width()).arg(page.height())));

    // The next set-up opens with everything the user chose before the print.
    m_prompter->answerPrinterSetup(vtl::PrinterChoices{});
    m_window->form().UstawDrukarke1->trigger();
    const vtl::PrinterChoices& shown = m_prompter->printerSetupsShown().back();
    QCOMPARE(shown.outputFile, choices.outputFile);
    QVERIFY(shown.landscape);
    QCOMPARE(shown.paperName, std::string("A5"));
    QCOMPARE(shown.paperWidthMm, 148.0);
    QVERIFY(shown.margins.has_value());
    QCOMPARE(shown.margins->bottom, 20.0);
}

// The machine's own printers never decide these cases: the window asks a list the test gives.
void OutputWindowTest::printWithoutAUsablePrinterSaysSo() {
    load(path("flight.bin"));
    ListedPrinters none({}, "");
    m_window->setPrinterDirectory(none);
    m_window->form().Drukuj1->trigger();
    QCOMPARE(m_prompter->messages().size(), size_t(1));
    QCOMPARE(m_prompter->messages().back().text, std::string("Brak drukarki"));
    QCOMPARE(m_prompter->messages().back().caption, std::string("Vantorel - problem"));
    QCOMPARE(m_window->form().Chart1->titleLines().size(), 1);

    // A printer chosen in the set-up that the system no longer has is not swapped for another.
    ListedPrinters other({"Office"}, "Office");
    m_window->setPrinterDirectory(other);
    vtl::PrinterChoices gone;
    gone.printerName = "Gone";
    m_prompter->answerPrinterSetup(gone);
    m_window->form().UstawDrukarke1->trigger();
    m_window->form().English1->trigger();
    m_window->form().Drukuj1->trigger();
    QCOMPARE(m_prompter->messages().size(), size_t(2));
    QCOMPARE(m_prompter->messages().back().text, std::string("No printer"));
    QCOMPARE(m_prompter->messages().back().caption, std::string("Vantoreal - error"));
    QVERIFY(m_window->form().LStatus->text().isEmpty());
}

void OutputWindowTest::statusLineTellsWhereTheOutputWent() {
    load(path("flight.bin"));
    MainWindowForm& form = m_window->form();
    QVERIFY(form.LStatus->isVisible());
    // The chart and the figures lines end above the status line, and the layout gives them the
    // whole height above.
    const QPoint chartBottom = form.Chart1->mapTo(m_window, QPoint(0, form.Chart1->height()));
    QVERIFY(chartBottom.y() <= form.StatusBar1->geometry().top());
    const QPoint figuresBottom =
        form.LFigures2->mapTo(m_window, QPoint(0, form.LFigures2->height()));
    QVERIFY(figuresBottom.y() <= form.StatusBar1->geometry().top());
    QCOMPARE(form.Chart1->height(), form.client->height() - 120 - vtl::kFiguresStripHeight);

    vtl::PrinterChoices choices;
    choices.outputFile = path("page.pdf").toStdString();
    m_prompter->answerPrinterSetup(choices);
    form.UstawDrukarke1->trigger();
    form.Drukuj1->trigger();
    QCOMPARE(form.LStatus->text(), "Wydrukowano do pliku: " + path("page.pdf"));
    form.English1->trigger();
    QCOMPARE(form.LStatus->text(), "Printed to file: " + path("page.pdf"));

    m_prompter->answerNextFiles({path("chart").toStdString()});
    form.ZapiszObraz1->trigger();
    QCOMPARE(form.LStatus->text(), "Picture saved: " + path("chart.bmp"));

    m_prompter->answerNextFiles({path("lot").toStdString()});
    form.ZapiszdoExcela1->trigger();
    QCOMPARE(form.LStatus->text(), "Exported to: " + path("lot.csv"));
    form.Polski1->trigger();
    QCOMPARE(form.LStatus->text(), "Zapisano eksport: " + path("lot.csv"));

    // A file that cannot be written leaves no claim that it was.
    m_prompter->answerNextFiles({path("no/such/folder/lot").toStdString()});
    form.ZapiszdoExcela1->trigger();
    QVERIFY(form.LStatus->text().isEmpty());
    QVERIFY(m_prompter->messages().back().text.find("Cannot create file") != std::string::npos);
}

void OutputWindowTest::eachKindOfOutputStartsWhereItsLastFileWent() {
    QDir(m_rig->folder()).mkpath(QStringLiteral("opened"));
    QDir(m_rig->folder()).mkpath(QStringLiteral("saved"));
    writeFlight(path("opened/other.bin"), 2, 400);
    load(path("flight.bin"));
    MainWindowForm& form = m_window->form();
    auto startOf = [this](vtl::FileDialog kind) {
        for (auto it = m_prompter->fileDialogs().rbegin(); it != m_prompter->fileDialogs().rend();
             ++it) {
            if (it->first == kind) {
                return it->second;
            }
        }
        return std::string("(not shown)");
    };

    // Before the first of its kind: a folder of their own, never the file dialog's last place.
    form.ZapiszObraz1->trigger();
    form.ZapiszdoExcela1->trigger();
    const std::string firstStart = startOf(vtl::FileDialog::Picture);
    QVERIFY(!firstStart.empty() && firstStart.back() == '/');
    QCOMPARE(startOf(vtl::FileDialog::Export), firstStart);

    m_prompter->answerNextFiles({path("chart").toStdString()});
    form.ZapiszObraz1->trigger();
    m_prompter->answerNextFiles({path("lot").toStdString()});
    form.ZapiszdoExcela1->trigger();
    m_prompter->answerNextFiles({path("saved/kept.bin").toStdString()});
    form.BZapisz->click();
    m_prompter->answerNextFiles({path("opened/other.bin").toStdString()});
    form.BOdczyt->click();
    QCOMPARE(m_window->form().GroupB_Vtl->title(), QString("other.bin"));

    form.ZapiszObraz1->trigger();
    QCOMPARE(startOf(vtl::FileDialog::Picture), path("chart").toStdString());
    form.ZapiszdoExcela1->trigger();
    QCOMPARE(startOf(vtl::FileDialog::Export), path("lot").toStdString());
    form.BZapisz->click();
    QCOMPARE(startOf(vtl::FileDialog::Save), path("saved/kept.bin").toStdString());
}

void OutputWindowTest::zoomShowsAMinorGridForShortStretches() {
    load(path("flight.bin")); // ten samples a second: a minor tick count of 9
    ChartView& chart = *m_window->form().Chart1;
    chart.flush();
    const QRect area = chart.plotArea();
    auto zoomOntoPoints = [&](double from, double to) {
        const double perPoint = area.width() / (chart.bottomMaximum() - chart.bottomMinimum());
        const int left = area.left() + static_cast<int>((from - chart.bottomMinimum()) * perPoint);
        const int right = area.left() + static_cast<int>((to - chart.bottomMinimum()) * perPoint);
        QSignalSpy zoomed(&chart, &ChartView::OnZoom);
        chart.zoomToRect(QRect(QPoint(left, area.top() + 10), QPoint(right, area.bottom() - 10)));
        QVERIFY(zoomed.count() == 1 || zoomed.wait(2000)); // the zoom is animated on screen
    };
    chart.bottomSetMinorTickCount(4);
    zoomOntoPoints(0, 300);
    QVERIFY(!chart.bottomMinorGridVisible());
    QCOMPARE(chart.bottomMinorTickCount(), 4);
    zoomOntoPoints(chart.bottomMinimum() + 10, chart.bottomMinimum() + 60);
    QVERIFY(chart.bottomMinorGridVisible());
    QCOMPARE(chart.bottomMinorTickCount(), 9);

    chart.UndoZoom();
    QVERIFY(!chart.bottomMinorGridVisible());
    QCOMPARE(chart.bottomMinorTickCount(), 9);

    // At one sample every two seconds the count is -1: no minor ticks.
    writeFlight(path("slow.bin"), 5, 200);
    load(path("slow.bin"));
    chart.flush();
    zoomOntoPoints(chart.bottomMinimum() + 5, chart.bottomMinimum() + 50);
    QCOMPARE(chart.bottomMinorTickCount(), -1);
}

QTEST_MAIN(OutputWindowTest)
#include "output_window_test.moc"
