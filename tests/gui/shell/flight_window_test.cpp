// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/flight/flight_record.h"
#include "support/window_rig.h"

#include <QClipboard>
#include <QFile>
#include <QtTest>

namespace {

using vtl::testing::readFile;
using vtl::testing::writeFile;

// Glides end 3 m below the start.
std::vector<int32_t> climbAndGlide(int climbSamples, int32_t peakCm, int glideSamples) {
    return vtl::testing::climbAndGlide(climbSamples, peakCm, glideSamples, -300);
}

QByteArray flightBytes(uint8_t code, std::vector<int32_t> altitudes, uint16_t competitor = 42) {
    vtl::testing::FlightDescription flight;
    flight.samplingCode = code;
    flight.competitorNumber = competitor;
    flight.altitudeCm = std::move(altitudes);
    return vtl::testing::flightBytes(flight);
}

void pressKeys(QLineEdit* field, const QString& keys) {
    for (const QChar key : keys) {
        QTest::keyClick(field, key.toLatin1());
    }
    QTest::keyClick(field, Qt::Key_Return);
}

} // namespace

class FlightWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadShowsAndDrawsTheFlight();
    void saveAfterLoadIsByteIdentical();
    void saveRefusalsAndFailures();
    void loadLimitsAndFailures();
    void typedTemperatureRedraws();
    void temperatureFieldTakesTheEditingKeys();
    void climbCurveToggles();
    void comparisonBesideTheCurrentFlight();
    void comparisonAtAnotherRateLandsOnItsSeconds();
    void comparisonFollowsANewCurrentFlightsRate();
    void longerHigherComparisonStaysInView();
    void statisticsNeverShowAnEarlierFlight();
    void figuresLinesFollowEveryDrawing();
    void fileThatIsNoFlightIsQuestioned();
    void fileNamesOutliveALanguageSwitch();
    void fileCutOffDuringTheFlightIsCalledIncomplete();

private:
    QString path(const char* name) const { return m_rig->path(name); }
    void load(const QString& file);

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    vtl::testing::ScriptedPrompter* m_prompter = nullptr;
    TVantorel_BMP* m_window = nullptr;
};

void FlightWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    m_prompter = &m_rig->prompter();
    m_window = &m_rig->open();
    writeFile(path("glide.bin"), flightBytes(2, climbAndGlide(300, 8000, 900)));
}

void FlightWindowTest::cleanup() {
    m_rig.reset();
}

void FlightWindowTest::load(const QString& file) {
    m_rig->load(file);
}

void FlightWindowTest::loadShowsAndDrawsTheFlight() {
    load(path("glide.bin"));
    MainWindowForm& f = m_window->form();
    QCOMPARE(f.GroupB_Vtl->title(), QString("glide.bin"));
    QCOMPARE(f.E_NrZawodnika->text(), QString("42"));
    QCOMPARE(f.E_NrSeryjny->text(), QString("1234"));
    QCOMPARE(f.E_TempGl->text(), QString("20"));
    QVERIFY(!f.E_TempGl->isReadOnly());
    QCOMPARE(f.E_probkGl->text(), QString("10 pom/sek"));
    // 1,210 samples and the terminator: 1,211 slots, 1,206 points, 1,204 climb points.
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), 1206);
    QCOMPARE(f.Chart1->pointCount(ChartView::Series2), 1204);
    QCOMPARE(f.Chart1->pointLabel(ChartView::Series1, 10), QString("1"));
    QVERIFY(f.E_MaxGl->text().startsWith("79.") || f.E_MaxGl->text().startsWith("80"));
    QVERIFY(f.EMinimum->text().startsWith("-"));
    QCOMPARE(f.Chart1->leftMaximum(), std::floor(m_window->currentFlight().maxAltitude * 31 / 30));
}

void FlightWindowTest::saveAfterLoadIsByteIdentical() {
    load(path("glide.bin"));
    m_prompter->answerNextFiles({path("copy.bin").toStdString()});
    m_window->form().BZapisz->click();
    QCOMPARE(readFile(path("copy.bin")), readFile(path("glide.bin")));
    QVERIFY(m_prompter->messages().empty());

    // Each dialog opens at the name it was last given.
    m_window->form().BZapisz->click();
    QCOMPARE(m_prompter->fileDialogs().back().first, vtl::FileDialog::Save);
    QCOMPARE(m_prompter->fileDialogs().back().second, path("copy.bin").toStdString());
}

void FlightWindowTest::saveRefusalsAndFailures() {
    m_window->form().BZapisz->click();
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].text, std::string("Brak danych"));
    QVERIFY(m_prompter->fileDialogs().empty());

    load(path("glide.bin"));
    writeFile(path("old.bin"), "old");
    m_prompter->answerNextFiles({path("old.bin").toStdString()});
    m_prompter->answerNextMessages({false});
    m_window->form().BZapisz->click();
    QCOMPARE(m_prompter->messages().back().text, std::string("Plik istnieje. Zapisać?"));
    QCOMPARE(m_prompter->messages().back().caption, std::string("Vantorel-Zapis"));
    QCOMPARE(readFile(path("old.bin")), QByteArray("old"));

    m_prompter->answerNextFiles({path("no-such-folder/new.bin").toStdString()});
    m_window->form().BZapisz->click();
    QCOMPARE(m_prompter->messages().back().text, "Cannot create file " +
                                                     path("no-such-folder/new.bin").toStdString() +
                                                     " (nie ma takiego folderu)");
}

void FlightWindowTest::loadLimitsAndFailures() {
    MainWindowForm& f = m_window->form();
    const QByteArray glide = readFile(path("glide.bin"));

    writeFile(path("header.bin"), glide.left(32));
    load(path("header.bin"));
    QCOMPARE(f.E_NrZawodnika->text(), QString("42"));
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), 0);

    QByteArray huge = flightBytes(0, std::vector<int32_t>(12000, 0));
    QVERIFY(huge.size() > 40000);
    writeFile(path("huge.bin"), huge.left(40000));
    load(path("huge.bin"));
    QCOMPARE(m_window->currentFlight().rawLength, 33000);
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), (33000 - 32) / 4 - 5);

    load(path("missing.bin"));
    QCOMPARE(m_prompter->messages().back().text,
             "Cannot open file " + path("missing.bin").toStdString());

    QByteArray corrupt = glide;
    corrupt[16] = 0; // AC4 = 0 makes the sensor's divisor zero
    corrupt[17] = 0;
    writeFile(path("corrupt.bin"), corrupt);
    load(path("corrupt.bin"));
    QCOMPARE(m_prompter->messages().back().text, std::string("Uszkodzone dane pomiaru"));
    QCOMPARE(m_window->currentFlight().rawLength, 33000);
    QCOMPARE(f.GroupB_Vtl->title(), QString("huge.bin"));
}

void FlightWindowTest::typedTemperatureRedraws() {
    load(path("glide.bin"));
    MainWindowForm& f = m_window->form();
    const double peakAt20 = f.Chart1->pointValue(ChartView::Series1, 310);

    f.E_TempGl->clear();
    pressKeys(f.E_TempGl, "3a0");
    QCOMPARE(f.E_TempGl->text(), QString("30"));
    QCOMPARE(m_window->currentFlight().temperature, 30.0f);
    QVERIFY(m_prompter->messages().empty());
    const double peakAt30 = f.Chart1->pointValue(ChartView::Series1, 310);
    QVERIFY(std::abs(peakAt30 - peakAt20 * 303.16 / 293.16) < 0.02);

    // A third digit is still taken, a fourth is not; no sensor measures 301 °C.
    pressKeys(f.E_TempGl, "1");
    pressKeys(f.E_TempGl, "5");
    QCOMPARE(f.E_TempGl->text(), QString("301"));
    QCOMPARE(m_prompter->messages().size(), size_t{2}); // each Enter is refused

    for (const char* wrong : {"", "-", "--", "2-", "86", "-41", "999"}) {
        f.E_TempGl->clear();
        m_prompter->clear();
        pressKeys(f.E_TempGl, wrong);
        QCOMPARE(m_prompter->messages().size(), size_t{1});
        QCOMPARE(m_prompter->messages()[0].text, std::string("Zła wartośc temperatury"));
    }
    QCOMPARE(m_window->currentFlight().temperature, 30.0f);
    for (const char* edge : {"-40", "85"}) {
        f.E_TempGl->clear();
        m_prompter->clear();
        pressKeys(f.E_TempGl, edge);
        QVERIFY2(m_prompter->messages().empty(), edge);
    }
    QCOMPARE(m_window->currentFlight().temperature, 85.0f);
}

void FlightWindowTest::temperatureFieldTakesTheEditingKeys() {
    load(path("glide.bin"));
    MainWindowForm& f = m_window->form();
    QLineEdit* field = f.E_TempGl;
    field->setFocus();
    // Select all and retype: the selection gives way, so two digits follow no third.
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    pressKeys(field, "12");
    QCOMPARE(field->text(), QString("12"));
    QCOMPARE(m_window->currentFlight().temperature, 12.0f);

    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClicks(field, "-");
    QCOMPARE(field->text(), QString("-2"));

    // Copy and paste work; a pasted letter does not get in.
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(field->text(), QString());
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->text(), QString("-2"));
    QGuiApplication::clipboard()->setText(QStringLiteral("1a"));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->text(), QString("-2"));
    QVERIFY(m_prompter->messages().empty());
}

void FlightWindowTest::climbCurveToggles() {
    load(path("glide.bin"));
    MainWindowForm& f = m_window->form();
    ChartView& chart = *f.Chart1;
    std::vector<double> before;
    for (int i = 0; i < chart.pointCount(ChartView::Series2); ++i) {
        before.push_back(chart.pointValue(ChartView::Series2, i));
    }
    f.Przyspieszenie1->trigger();
    QVERIFY(!f.Przyspieszenie1->isChecked());
    QCOMPARE(m_window->programSettings().showAcceleration, 0);
    QCOMPARE(chart.pointCount(ChartView::Series2), 0);
    QCOMPARE(chart.pointCount(ChartView::Series1), 1206);

    f.Przyspieszenie1->trigger();
    QVERIFY(f.Przyspieszenie1->isChecked());
    std::vector<double> after;
    for (int i = 0; i < chart.pointCount(ChartView::Series2); ++i) {
        after.push_back(chart.pointValue(ChartView::Series2, i));
    }
    QCOMPARE(after, before);
}

void FlightWindowTest::comparisonBesideTheCurrentFlight() {
    load(path("glide.bin"));
    MainWindowForm& f = m_window->form();
    ChartView& chart = *f.Chart1;
    const QString maximum = f.E_MaxGl->text();
    const QByteArray image(reinterpret_cast<const char*>(m_window->currentFlight().rawImage.data()),
                           m_window->currentFlight().rawLength);

    writeFile(path("high.bin"), flightBytes(2, climbAndGlide(200, 12000, 300), 7));
    m_prompter->answerNextFiles({path("high.bin").toStdString()});
    f.B_Porownanie->click();
    QCOMPARE(f.GroupB_Por->title(), QString("high.bin"));
    QCOMPARE(f.E_Zaw_Por->text(), QString("7"));
    QVERIFY(!f.E_TempPor->isReadOnly());
    QCOMPARE(chart.pointCount(ChartView::Series3), 10 + 200 + 300 + 1 - 5);
    QVERIFY(f.E_Max_Por->text().startsWith("119.") || f.E_Max_Por->text().startsWith("120"));
    QVERIFY(chart.leftMaximum() >= 131.0); // raised to the comparison's maximum plus a tenth
    // The current flight is untouched.
    QCOMPARE(f.E_MaxGl->text(), maximum);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(m_window->currentFlight().rawImage.data()),
                        m_window->currentFlight().rawLength),
             image);

    // Hiding the comparison blanks its panel; a temperature entry draws it again.
    f.Porownanie1->trigger();
    QVERIFY(!f.Porownanie1->isChecked());
    QCOMPARE(chart.pointCount(ChartView::Series3), 0);
    QCOMPARE(f.E_Max_Por->text(), QString());
    QCOMPARE(f.GroupB_Por->title(), QString("Plik"));
    f.Porownanie1->trigger();
    QVERIFY(f.Porownanie1->isChecked());
    QCOMPARE(chart.pointCount(ChartView::Series3), 0);
    pressKeys(f.E_TempPor, "25");
    QCOMPARE(chart.pointCount(ChartView::Series3), 506);
    QVERIFY(!f.E_Max_Por->text().isEmpty());

    // Loading a comparison while it is hidden shows it again, with its menu item checked.
    f.Porownanie1->trigger();
    QVERIFY(!f.Porownanie1->isChecked());
    m_prompter->answerNextFiles({path("high.bin").toStdString()});
    f.B_Porownanie->click();
    QVERIFY(f.Porownanie1->isChecked());
    QCOMPARE(chart.pointCount(ChartView::Series3), 506);
}

void FlightWindowTest::comparisonAtAnotherRateLandsOnItsSeconds() {
    // 20 samples per second: 206 points, 10.25 s.
    writeFile(path("fast.bin"), flightBytes(0, climbAndGlide(100, 3000, 100)));
    load(path("fast.bin"));
    MainWindowForm& f = m_window->form();
    ChartView& chart = *f.Chart1;
    QCOMPARE(chart.pointCount(ChartView::Series1), 206);

    // 5 samples per second: 506 points, the last at 505 / 5 = 101 s, which is point 2020 at
    // 20 samples per second.
    writeFile(path("slow.bin"), flightBytes(3, climbAndGlide(200, 12000, 300), 7));
    m_prompter->answerNextFiles({path("slow.bin").toStdString()});
    f.B_Porownanie->click();
    const vtl::FlightRecord& comparison = m_window->comparisonFlight();
    const auto plotted = [&comparison](int k) {
        return static_cast<double>(static_cast<float>(comparison.altitudeCm[k] * 0.01));
    };
    QCOMPARE(chart.pointCount(ChartView::Series3), 2021);
    QCOMPARE(chart.pointValue(ChartView::Series3, 2020), plotted(505));
    QCOMPARE(chart.pointValue(ChartView::Series3, 1200), plotted(300));
    QVERIFY(f.E_Max_Por->text().startsWith("119.") || f.E_Max_Por->text().startsWith("120"));

    // Past the current flight's end the bottom axis goes on counting its seconds.
    QCOMPARE(chart.pointLabel(ChartView::Series3, 2020), QString("101"));
    QCOMPARE(chart.pointLabel(ChartView::Series3, 2019), QString());
    chart.flush();
    QCOMPARE(chart.bottomMaximum(), 2020.0);
    const QStringList labels = chart.bottomAxisLabels();
    QVERIFY2(labels.size() >= 2 && labels.last().toInt() > 90, qPrintable(labels.join(' ')));
    const int stride = labels[1].toInt() - labels[0].toInt();
    for (int i = 1; i < labels.size(); ++i) {
        QCOMPARE(labels[i].toInt() - labels[i - 1].toInt(), stride);
    }

    // The filter keeps both comparison curves on the same times.
    std::vector<double> drawn;
    for (int i = 0; i < chart.pointCount(ChartView::Series3); ++i) {
        drawn.push_back(chart.pointValue(ChartView::Series3, i));
    }
    f.B_Filtr_por->click();
    QCOMPARE(chart.pointCount(ChartView::Series3), 2021);
    QCOMPARE(chart.pointCount(ChartView::Series6), 2021);
    QCOMPARE(chart.pointValue(ChartView::Series6, 2019), drawn[2019]);
    QCOMPARE(chart.pointLabel(ChartView::Series3, 2000), QString("100"));
}

void FlightWindowTest::comparisonFollowsANewCurrentFlightsRate() {
    writeFile(path("fast.bin"), flightBytes(0, climbAndGlide(100, 3000, 100)));
    writeFile(path("slow.bin"), flightBytes(3, climbAndGlide(200, 12000, 300), 7));
    writeFile(path("slow2.bin"), flightBytes(3, climbAndGlide(100, 5000, 100), 8));
    load(path("fast.bin"));
    MainWindowForm& f = m_window->form();
    ChartView& chart = *f.Chart1;
    m_prompter->answerNextFiles({path("slow.bin").toStdString()});
    f.B_Porownanie->click();
    f.B_Filtr_por->click();
    QCOMPARE(chart.pointCount(ChartView::Series3), 2021);
    QCOMPARE(chart.pointCount(ChartView::Series6), 2021);

    // A current flight at the comparison's own rate: the comparison is drawn sample by sample
    // again, filtered as it was, and the current flight keeps the minor ticks.
    load(path("slow2.bin"));
    QCOMPARE(chart.pointCount(ChartView::Series3), 506);
    QCOMPARE(chart.pointCount(ChartView::Series6), 506);
    QCOMPARE(chart.pointLabel(ChartView::Series3, 505), QString("101"));
    QCOMPARE(m_window->comparisonFlight().competitorNumber, uint16_t{7});
}

void FlightWindowTest::longerHigherComparisonStaysInView() {
    // Both at 10 samples per second: an 8-s hop to 10 m and a 388-s flight to 120 m.
    writeFile(path("short.bin"), flightBytes(2, climbAndGlide(40, 1000, 40)));
    writeFile(path("long.bin"), flightBytes(2, climbAndGlide(1000, 12000, 2880), 7));
    MainWindowForm& f = m_window->form();
    ChartView& chart = *f.Chart1;

    // The comparison first: a current flight drawn after it keeps the axis over both.
    m_prompter->answerNextFiles({path("long.bin").toStdString()});
    f.B_Porownanie->click();
    const double raised = chart.leftMaximum();
    QVERIFY2(raised >= 131.0, qPrintable(QString::number(raised))); // its maximum plus a tenth
    load(path("short.bin"));
    QVERIFY(chart.pointCount(ChartView::Series1) < 90);
    QCOMPARE(chart.leftMaximum(), raised);
    f.Przyspieszenie1->trigger();
    f.Przyspieszenie1->trigger(); // draws the current flight again
    QCOMPARE(chart.leftMaximum(), raised);

    // The seconds and their grid lines go on to the comparison's end.
    chart.flush();
    const int lastPoint = chart.pointCount(ChartView::Series3) - 1;
    QCOMPARE(chart.bottomMaximum(), double(lastPoint));
    const QStringList labels = chart.bottomAxisLabels();
    QVERIFY2(labels.size() >= 5, qPrintable(labels.join(' ')));
    const int step = labels[1].toInt() - labels[0].toInt();
    QVERIFY2(labels.last().toInt() * 10 > lastPoint - step * 10, qPrintable(labels.join(' ')));
    const ChartView::AxisLabels placed = chart.axisLabels(ChartView::BottomAxis);
    const double spacing = placed.positions[1] - placed.positions[0];
    QVERIFY(chart.plotArea().right() - placed.positions.back() <= spacing + 1);

    // Without the comparison the current flight has the axis to itself again.
    f.Porownanie1->trigger();
    load(path("short.bin"));
    QVERIFY(chart.leftMaximum() < 20);
}

// A hop to 8 m that lands below the ground: a maximum, but no minimum, as the flight never
// climbed past 10 m.
std::vector<int32_t> lowHop() {
    std::vector<int32_t> altitudes(10, 0);
    for (int i = 1; i <= 40; ++i) {
        altitudes.push_back(800 * i / 40);
    }
    for (int i = 1; i <= 60; ++i) {
        altitudes.push_back(800 - 1100 * i / 60);
    }
    return altitudes;
}

void FlightWindowTest::statisticsNeverShowAnEarlierFlight() {
    MainWindowForm& f = m_window->form();
    writeFile(path("hop.bin"), flightBytes(2, lowHop()));
    writeFile(path("ground.bin"), flightBytes(2, std::vector<int32_t>(40, 0)));

    load(path("glide.bin"));
    QVERIFY(f.EMinimum->text().startsWith("-"));
    load(path("hop.bin"));
    QVERIFY(f.E_MaxGl->text().startsWith("7.") || f.E_MaxGl->text().startsWith("8"));
    QCOMPARE(f.EMinimum->text(), QString("   "));
    load(path("ground.bin"));
    QCOMPARE(f.E_MaxGl->text(), QString("   "));

    for (const char* file : {"glide.bin", "hop.bin"}) {
        m_prompter->answerNextFiles({path(file).toStdString()});
        f.B_Porownanie->click();
    }
    QVERIFY(f.E_Max_Por->text().startsWith("7.") || f.E_Max_Por->text().startsWith("8"));
    QCOMPARE(f.E_Min_Por->text(), QString("   "));
    m_prompter->answerNextFiles({path("ground.bin").toStdString()});
    f.B_Porownanie->click();
    QCOMPARE(f.E_Max_Por->text(), QString("   "));
    QVERIFY(m_prompter->messages().empty());
}

void FlightWindowTest::figuresLinesFollowEveryDrawing() {
    MainWindowForm& f = m_window->form();
    QCOMPARE(f.LFigures1->text(), QString());
    // Off the ground at about 1.4 s, 80 m at 31 s, below 1 m again at about 116.6 s. The numbers
    // take the locale's separator (here the C locale's) as the window's other numbers do.
    load(path("glide.bin"));
    const QString atTwenty = f.LFigures1->text();
    QVERIFY2(atTwenty.startsWith(QString::fromUtf8("Lot 1:55 · start 1.")), qPrintable(atTwenty));
    QVERIFY2(atTwenty.contains(QString::fromUtf8(
                 " · maks. 79.9 m po 30.9 s · wznoszenie 2.8 m/s · opadanie 0.9")),
             qPrintable(atTwenty));
    QCOMPARE(f.LFigures2->text(), QString());

    // A warmer day draws a higher flight.
    f.E_TempGl->clear();
    pressKeys(f.E_TempGl, "40");
    QVERIFY2(f.LFigures1->text().contains(QString::fromUtf8("maks. 85.")),
             qPrintable(f.LFigures1->text()));

    writeFile(path("high.bin"), flightBytes(2, climbAndGlide(200, 12000, 300), 7));
    m_prompter->answerNextFiles({path("high.bin").toStdString()});
    f.B_Porownanie->click();
    QVERIFY2(f.LFigures2->text().startsWith(QString::fromUtf8("Porównanie: Lot ")),
             qPrintable(f.LFigures2->text()));
    QVERIFY2(f.LFigures2->text().contains(QString::fromUtf8("maks. 119.7 m po 20.9 s")),
             qPrintable(f.LFigures2->text()));

    f.English1->trigger();
    QVERIFY2(f.LFigures1->text().startsWith("Flight 1:55 "), qPrintable(f.LFigures1->text()));
    QVERIFY2(f.LFigures2->text().startsWith("Comparison: Flight "),
             qPrintable(f.LFigures2->text()));

    // Hiding the comparison empties its line; a flight that never leaves the ground has no
    // flight figures, and never the previous flight's.
    f.Porownanie1->trigger();
    QCOMPARE(f.LFigures2->text(), QString());
    f.Polski1->trigger();
    QCOMPARE(f.LFigures2->text(), QString());
    writeFile(path("ground.bin"), flightBytes(2, std::vector<int32_t>(40, 0)));
    load(path("ground.bin"));
    QVERIFY2(!f.LFigures1->text().contains("Lot") && !f.LFigures1->text().contains("maks"),
             qPrintable(f.LFigures1->text()));
}

void FlightWindowTest::fileThatIsNoFlightIsQuestioned() {
    MainWindowForm& f = m_window->form();
    ChartView& chart = *f.Chart1;
    QByteArray numbers;
    for (int i = 0; i < 200; ++i) {
        numbers += QByteArray::number(i * 0.7, 'f', 1) + "\n\r";
    }
    writeFile(path("column.csv"), numbers);

    load(path("glide.bin"));
    m_prompter->answerNextFiles({path("glide.bin").toStdString()});
    f.B_Porownanie->click();
    const QByteArray image(reinterpret_cast<const char*>(m_window->currentFlight().rawImage.data()),
                           m_window->currentFlight().rawLength);
    const int points = chart.pointCount(ChartView::Series1);
    const int comparisonPoints = chart.pointCount(ChartView::Series3);
    auto panels = [&f] {
        return QStringList{f.GroupB_Vtl->title(), f.E_MaxGl->text(),   f.EMinimum->text(),
                           f.E_TempGl->text(),    f.E_probkGl->text(), f.GroupB_Por->title(),
                           f.E_Max_Por->text(),   f.E_Min_Por->text(), f.E_TempPor->text()};
    };
    const QStringList before = panels();

    // Cancel, as the current flight and as the comparison: nothing changes.
    m_prompter->answerNextMessages({false, false});
    load(path("column.csv"));
    m_prompter->answerNextFiles({path("column.csv").toStdString()});
    f.B_Porownanie->click();
    QCOMPARE(m_prompter->messages().size(), size_t{2});
    for (const auto& asked : m_prompter->messages()) {
        QCOMPARE(asked.text, std::string("Plik nie wygląda na pomiar. Otworzyć mimo to?"));
        QCOMPARE(asked.caption, std::string("Vantorel - problem"));
        QCOMPARE(asked.buttons, vtl::PromptButtons::OkCancel);
    }
    QCOMPARE(panels(), before);
    QCOMPARE(chart.pointCount(ChartView::Series1), points);
    QCOMPARE(chart.pointCount(ChartView::Series3), comparisonPoints);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(m_window->currentFlight().rawImage.data()),
                        m_window->currentFlight().rawLength),
             image);

    // OK loads the file as it is.
    m_prompter->clear();
    f.English1->trigger();
    load(path("column.csv"));
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].text,
             std::string("This file does not look like a flight. Open it anyway?"));
    QCOMPARE(m_prompter->messages()[0].caption, std::string("Vantoreal - error"));
    QCOMPARE(f.GroupB_Vtl->title(), QString("column.csv"));
    QCOMPARE(m_window->currentFlight().rawLength, numbers.size());
    m_prompter->answerNextFiles({path("column.csv").toStdString()});
    f.B_Porownanie->click();
    QCOMPARE(f.GroupB_Por->title(), QString("column.csv"));
    QCOMPARE(m_window->comparisonFlight().rawLength, numbers.size());
}

void FlightWindowTest::fileNamesOutliveALanguageSwitch() {
    MainWindowForm& f = m_window->form();
    load(path("glide.bin"));
    writeFile(path("high.bin"), flightBytes(2, climbAndGlide(200, 12000, 300), 7));
    m_prompter->answerNextFiles({path("high.bin").toStdString()});
    f.B_Porownanie->click();
    for (QAction* language : {f.English1, f.Polski1}) {
        language->trigger();
        QCOMPARE(f.GroupB_Vtl->title(), QString("glide.bin"));
        QCOMPARE(f.GroupB_Por->title(), QString("high.bin"));
    }

    // Once a panel shows no file, its caption speaks the language again.
    f.Porownanie1->trigger();
    f.English1->trigger();
    QCOMPARE(f.GroupB_Por->title(), QString("File"));
    QCOMPARE(f.GroupB_Vtl->title(), QString("glide.bin"));
    emit f.Chart1->OnClickSeries(ChartView::Series1);
    f.Polski1->trigger();
    QCOMPARE(f.GroupB_Vtl->title(), QString("Vantorel"));
    QCOMPARE(f.GroupB_Por->title(), QString("Plik"));
}

// A file that ends in the middle of the flight (no terminator slot) is drawn as far as it goes,
// without a question; the status line says what it is until a whole file is opened.
void FlightWindowTest::fileCutOffDuringTheFlightIsCalledIncomplete() {
    MainWindowForm& f = m_window->form();
    const QByteArray whole = readFile(path("glide.bin"));
    writeFile(path("cut.bin"), whole.left(32 + 4 * 600));
    load(path("cut.bin"));
    QVERIFY(m_prompter->messages().empty());
    QCOMPARE(f.GroupB_Vtl->title(), QString("cut.bin"));
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), 600 - 5);
    QCOMPARE(f.LStatus->text(), QString("Plik niepełny: brak końca lotu"));
    f.English1->trigger();
    QCOMPARE(f.LStatus->text(), QString("Incomplete file: the flight has no end"));

    load(path("glide.bin"));
    QCOMPARE(f.LStatus->text(), QString());
    m_prompter->answerNextFiles({path("cut.bin").toStdString()});
    f.B_Porownanie->click();
    QVERIFY(m_prompter->messages().empty());
    QCOMPARE(f.Chart1->pointCount(ChartView::Series3), 600 - 5);
    QCOMPARE(f.LStatus->text(), QString("Incomplete file: the flight has no end"));
}

QTEST_MAIN(FlightWindowTest)
#include "flight_window_test.moc"
