// SPDX-License-Identifier: GPL-3.0-or-later
// The contest station over the main window's download: loggers downloaded one after another give
// their cards and the results table, a duplicate is said and not counted, and a damaged contest
// is refused with where it is damaged.
#include "gui/contest/contest_window.h"

#include "core/contest/contest.h"
#include "core/device/command_frame.h"
#include "gui/contest/new_contest_dialog.h"
#include "gui/shell/main_window.h"
#include "support/test_files.h"
#include "support/window_rig.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

namespace {

std::vector<uint8_t> flightImage(int32_t peakCm, uint16_t competitor) {
    vtl::testing::FlightDescription flight;
    flight.competitorNumber = competitor;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, peakCm, 2000);
    return vtl::testing::synthesiseFlightImage(flight);
}

vtl::ContestDocument twoRounds() {
    vtl::ContestDocument document;
    document.name = "Puchar";
    document.rounds = 2;
    return document;
}

} // namespace

class ContestWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void threeLoggersInARowGiveCardsAndRanks();
    void duplicateAndSecondFlightAreSaidAndNotCounted();
    void damagedContestIsRefusedWithLineAndColumn();
    void newContestRefusesARuleThatIsNone();
    void menuAndCardFollowTheLanguage();
    void theDirectorChoosesWhichFlightCounts();
    void loggersAreZeroedOnlyAfterAGoodDownloadOnceAgreed();
    void aLoggerPluggedInIsDownloaded();
    void escapeInTheStationStopsTheDownload();
    void resultsAreSavedForScoringPrograms();
    void resultsArePrintedThroughThePrintPath();

private:
    // The logger on the fake device now holds this flight.
    void plugIn(int32_t peakCm, uint16_t competitor);
    int rowOf(int competitor) const;
    QString cell(int competitor, int column) const;

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    TVantorel_BMP* m_window = nullptr;
    ContestWindow* m_contest = nullptr;
};

void ContestWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    m_rig->model().image = flightImage(6000, 7);
    m_window = &m_rig->open();
    m_window->form().Zawody1->trigger();
    m_contest = m_window->contestWindow();
    QVERIFY(m_contest != nullptr && m_contest->isVisible());
    QVERIFY(!m_contest->downloadButton()->isEnabled());
}

void ContestWindowTest::cleanup() {
    QLocale::setDefault(QLocale::c());
    m_rig.reset();
}

void ContestWindowTest::plugIn(int32_t peakCm, uint16_t competitor) {
    m_rig->model().image = flightImage(peakCm, competitor);
    m_rig->model().newFlight = true;
}

int ContestWindowTest::rowOf(int competitor) const {
    QTableWidget* table = m_contest->resultsTable();
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, ContestWindow::Number)->text() == QString::number(competitor)) {
            return row;
        }
    }
    return -1;
}

QString ContestWindowTest::cell(int competitor, int column) const {
    const int row = rowOf(competitor);
    return row < 0 ? QString("(no row)") : m_contest->resultsTable()->item(row, column)->text();
}

void ContestWindowTest::threeLoggersInARowGiveCardsAndRanks() {
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    m_contest->contest()->setCompetitors({{7, "Ala Nowak", "KM"}, {8, "Olek Wiśniewski", ""}});
    const MainWindowForm& f = m_window->form();
    struct Logger {
        int32_t peakCm;
        uint16_t number;
        QString name;
    };
    const std::vector<Logger> loggers = {
        {6000, 7, "Ala Nowak"}, {9000, 8, "Olek Wiśniewski"}, {7500, 42, "(?)"}};
    for (const Logger& logger : loggers) {
        plugIn(logger.peakCm, logger.number);
        m_contest->downloadButton()->click();
        QVERIFY(m_rig->prompter().messages().empty());
        // Drawn in the main window as any download, and the card says the same maximum.
        QCOMPARE(f.E_NrZawodnika->text(), QString::number(logger.number));
        QCOMPARE(m_contest->cardNumber()->text(), QString::number(logger.number));
        QCOMPARE(m_contest->cardName()->text(), logger.name);
        QCOMPARE(m_contest->cardRound()->text(), QString("Kolejka 1"));
        QCOMPARE(m_contest->cardScore()->text(), f.E_MaxGl->text() + " m");
    }
    QCOMPARE(m_contest->cardFlags()->text(), QString("spoza listy zawodników"));
    QVERIFY(m_contest->cardScore()->font().pointSize() >= 28);

    QCOMPARE(m_contest->resultsTable()->rowCount(), 3);
    QCOMPARE(cell(8, ContestWindow::Rank), QString("1"));
    QCOMPARE(cell(42, ContestWindow::Rank), QString("2"));
    QCOMPARE(cell(7, ContestWindow::Rank), QString("3"));
    QCOMPARE(cell(42, ContestWindow::Name), QString("nr 42 (?)"));
    // Rank, number, name, two rounds, the total.
    QCOMPARE(m_contest->resultsTable()->columnCount(), ContestWindow::FirstRound + 3);
    QCOMPARE(cell(8, ContestWindow::FirstRound + 2), cell(8, ContestWindow::FirstRound));
    QCOMPARE(cell(8, ContestWindow::FirstRound + 1), QString());

    // F5 downloads too; the second round adds to the total at once.
    m_contest->roundSelector()->setValue(2);
    plugIn(5000, 7);
    m_contest->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_contest));
    QTest::keyClick(m_contest->roundSelector(), Qt::Key_F5);
    QCOMPARE(m_contest->cardRound()->text(), QString("Kolejka 2"));
    const double total = cell(7, ContestWindow::FirstRound).toDouble() +
                         cell(7, ContestWindow::FirstRound + 1).toDouble();
    QCOMPARE(cell(7, ContestWindow::FirstRound + 2).toDouble(), total);
    QCOMPARE(cell(7, ContestWindow::Rank), QString("1"));

    // Sorting by a column leaves each row's cells together.
    m_contest->resultsTable()->sortByColumn(ContestWindow::Number, Qt::AscendingOrder);
    QCOMPARE(m_contest->resultsTable()->item(0, ContestWindow::Number)->text(), QString("7"));
    QCOMPARE(m_contest->resultsTable()->item(0, ContestWindow::Rank)->text(), QString("1"));
    QCOMPARE(m_contest->resultsTable()->item(2, ContestWindow::Number)->text(), QString("42"));
}

void ContestWindowTest::duplicateAndSecondFlightAreSaidAndNotCounted() {
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    m_contest->contest()->setCompetitors({{7, "Ala Nowak", "KM"}});
    plugIn(6000, 7);
    m_contest->downloadButton()->click();
    QCOMPARE(m_contest->cardFlags()->text(), QString());
    const QString counted = cell(7, ContestWindow::FirstRound + 2);

    plugIn(6000, 7); // the same logger read again, with Enter
    m_contest->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_contest));
    QTest::keyClick(m_contest->roundSelector(), Qt::Key_Return);
    QCOMPARE(m_contest->cardNumber()->text(), QString("7"));
    QCOMPARE(m_contest->cardFlags()->text(), QString("powtórzony odczyt – nie liczony"));
    QCOMPARE(m_contest->resultsTable()->rowCount(), 1);
    QCOMPARE(cell(7, ContestWindow::FirstRound + 2), counted);

    plugIn(8000, 7); // another flight of the same round waits for the director
    // While the flight comes, the round and the contest stay as they are.
    bool heldStill = false;
    m_rig->device().setResponder([this, &heldStill, inner = m_rig->model().responder()](
                                     const vtl::testing::FakeDevice::Frame& frame,
                                     vtl::testing::FakeDevice& device) {
        heldStill = !m_contest->roundSelector()->isEnabled() &&
                    !m_contest->openButton()->isEnabled() && !m_contest->newButton()->isEnabled();
        inner(frame, device);
    });
    m_contest->downloadButton()->click();
    QVERIFY(heldStill);
    QVERIFY(m_contest->roundSelector()->isEnabled() && m_contest->openButton()->isEnabled());
    QCOMPARE(m_contest->cardFlags()->text(), QString("drugi lot w kolejce"));
    QCOMPARE(cell(7, ContestWindow::FirstRound + 2), counted);
}

void ContestWindowTest::damagedContestIsRefusedWithLineAndColumn() {
    const QString folder = m_rig->path("damaged");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(vtl::testing::writeFile(folder + "/contest.json", "{\n  \"name\": \"Puchar\",\n  ]"));
    m_window->form().English1->trigger();
    QVERIFY(!m_contest->openContest(folder));
    QCOMPARE(m_rig->prompter().messages().size(), size_t{1});
    const QString said = QString::fromStdString(m_rig->prompter().messages()[0].text);
    QVERIFY2(said.contains("damaged") && said.contains("(line 3, column 3)"), qPrintable(said));
    QVERIFY(m_contest->contest() == nullptr);
    QVERIFY(!m_contest->downloadButton()->isEnabled());

    // A good contest is opened and remembered for the next run; a damaged one is not.
    const QString good = m_rig->path("good");
    QVERIFY(m_contest->createContest(good, twoRounds()));
    m_rig->close();
    m_window = &m_rig->open();
    m_window->form().Zawody1->trigger();
    QCOMPARE(m_window->contestWindow()->recentContests(), QStringList{good});
    QVERIFY(m_window->contestWindow()->openContest(good));
    QCOMPARE(m_window->contestWindow()->roundSelector()->maximum(), 2);
}

void ContestWindowTest::newContestRefusesARuleThatIsNone() {
    NewContestDialog dialog(m_rig->prompter(), vtl::Language::English);
    QVERIFY(!dialog.okButton()->isEnabled());
    dialog.folderField()->setText(m_rig->path("new"));
    dialog.nameField()->setText("Cup");
    QVERIFY(dialog.okButton()->isEnabled());
    QCOMPARE(dialog.ruleField()->text(), QString("max"));
    dialog.ruleField()->setText("window:");
    dialog.show();
    dialog.okButton()->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_rig->prompter().messages().size(), size_t{1});
    QCOMPARE(m_rig->prompter().messages()[0].text, std::string("window: is not a scoring rule"));

    dialog.ruleField()->setText("duration:180");
    dialog.roundsField()->setValue(3);
    dialog.bestField()->setValue(2);
    dialog.okButton()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const vtl::ContestDocument document = dialog.document();
    QCOMPARE(document.rule.text(), std::string("duration:180"));
    QCOMPARE(document.rounds, 3);
    QCOMPARE(document.bestCount, 2);
    QCOMPARE(document.name, std::string("Cup"));

    // A flight time is scored in seconds with two decimals.
    QVERIFY(m_contest->createContest(dialog.folder(), document));
    plugIn(6000, 7);
    m_contest->downloadButton()->click();
    QVERIFY2(
        QRegularExpression("^\\d+\\.\\d\\d s$").match(m_contest->cardScore()->text()).hasMatch(),
        qPrintable(m_contest->cardScore()->text()));
}

void ContestWindowTest::menuAndCardFollowTheLanguage() {
    QCOMPARE(m_window->form().Zawody1->text(), QString("Zawody"));
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    // The card and the table use the window's decimal separator, as the panel does.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    plugIn(6000, 42);
    m_contest->downloadButton()->click();
    QLocale::setDefault(QLocale::c());
    QVERIFY2(m_contest->cardScore()->text().contains(','),
             qPrintable(m_contest->cardScore()->text()));
    QCOMPARE(m_contest->cardScore()->text(), m_window->form().E_MaxGl->text() + " m");
    QVERIFY(m_contest->resultsTable()->item(0, ContestWindow::FirstRound)->text().contains(','));
    m_window->form().English1->trigger();
    QCOMPARE(m_window->form().Zawody1->text(), QString("Contest"));
    QCOMPARE(m_contest->windowTitle(), QString("Contest"));
    QCOMPARE(m_contest->cardRound()->text(), QString("Round 1"));
    QCOMPARE(m_contest->cardFlags()->text(), QString("not on the competitors' list"));
    QCOMPARE(m_contest->resultsTable()->horizontalHeaderItem(ContestWindow::FirstRound)->text(),
             QString("Round 1"));
}

void ContestWindowTest::theDirectorChoosesWhichFlightCounts() {
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    plugIn(6000, 7);
    m_contest->downloadButton()->click();
    const QString first = cell(7, ContestWindow::FirstRound);
    plugIn(8000, 7);
    m_contest->downloadButton()->click();
    QCOMPARE(cell(7, ContestWindow::FirstRound), first);

    const std::unique_ptr<QMenu> choices = m_contest->flightChoices(7, 1);
    const QList<QAction*> flights = choices->actions();
    QCOMPARE(flights.size(), 2);
    QVERIFY(flights[0]->isChecked() && !flights[1]->isChecked());
    flights[1]->trigger();
    QVERIFY(cell(7, ContestWindow::FirstRound).toDouble() > first.toDouble() + 15.0);
    QCOMPARE(cell(7, ContestWindow::FirstRound + 2), cell(7, ContestWindow::FirstRound));
    // The choice is the contest's, kept in its file.
    const vtl::Contest reopened = vtl::Contest::open(m_rig->path("contest").toStdString(), false);
    QVERIFY(!reopened.document().flights[0].counted && reopened.document().flights[1].counted);
    QVERIFY(m_contest->flightChoices(7, 2)->isEmpty());
}

void ContestWindowTest::loggersAreZeroedOnlyAfterAGoodDownloadOnceAgreed() {
    auto zeroCommands = [this] {
        int count = 0;
        for (const vtl::testing::FakeDevice::Frame& frame : m_rig->device().frames()) {
            count += frame[1] == vtl::protocol::kZero ? 1 : 0;
        }
        return count;
    };
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    m_rig->prompter().answerNextMessages({false});
    m_contest->zeroAfterOption()->click();
    QVERIFY(!m_contest->zeroAfterOption()->isChecked());
    m_contest->zeroAfterOption()->click();
    QCOMPARE(m_rig->prompter().messages().size(), size_t{2});
    QVERIFY(m_contest->zeroAfterOption()->isChecked());

    plugIn(6000, 7);
    m_contest->downloadButton()->click();
    QCOMPARE(zeroCommands(), 1);
    QCOMPARE(m_rig->prompter().messages().size(), size_t{2}); // zeroed without a word
    QCOMPARE(m_contest->cardFlags()->text(),
             QString("spoza listy zawodników · rejestrator wyzerowany"));

    // A flight that did not come whole stays on its logger.
    plugIn(7000, 8);
    m_rig->device().setResponder(
        [this, inner = m_rig->model().responder()](const vtl::testing::FakeDevice::Frame& frame,
                                                   vtl::testing::FakeDevice& device) {
            if (frame[1] == vtl::protocol::kTransfer) {
                device.deliverPaced(
                    {m_rig->model().image.begin(), m_rig->model().image.begin() + 4000}, 1047);
            } else {
                inner(frame, device);
            }
        });
    m_contest->downloadButton()->click();
    QVERIFY(m_contest->contest()->document().flights.back().incomplete);
    QCOMPARE(zeroCommands(), 1);
    QVERIFY(!m_contest->cardFlags()->text().contains("wyzerowany"));

    // The agreement holds for this contest in the next run, and is not asked again.
    m_rig->close();
    m_window = &m_rig->open();
    m_window->form().Zawody1->trigger();
    m_contest = m_window->contestWindow();
    QVERIFY(m_contest->openContest(m_rig->path("contest")));
    QVERIFY(m_contest->zeroAfterOption()->isChecked());
    QVERIFY(m_contest->createContest(m_rig->path("other"), twoRounds()));
    QVERIFY(!m_contest->zeroAfterOption()->isChecked());
}

void ContestWindowTest::aLoggerPluggedInIsDownloaded() {
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    std::vector<vtl::PortDescription> present;
    m_window->setPortFinder([&present] { return vtl::PortFinder(present, {}); });
    vtl::PortDescription usb;
    usb.systemPath = "/dev/ttyUSB0";
    usb.usb = true;
    present.push_back(usb); // there before the option is set: not a logger plugged in now
    m_contest->autoDownloadOption()->setChecked(true);
    QCOMPARE(m_contest->statusLine()->text(), QString("Czekam na rejestrator na porcie USB…"));
    plugIn(6000, 7);
    m_contest->lookForLogger();
    QVERIFY(m_contest->contest()->document().flights.empty());

    present.clear();
    m_contest->lookForLogger(); // unplugged
    present.push_back(usb);
    QTRY_COMPARE(m_contest->cardNumber()->text(), QString("7"));
    QCOMPARE(m_contest->contest()->document().flights.size(), size_t{1});
    m_contest->lookForLogger(); // still plugged in: nothing more
    QCOMPARE(m_contest->contest()->document().flights.size(), size_t{1});

    m_contest->autoDownloadOption()->setChecked(false);
    present.clear();
    m_contest->lookForLogger();
    present.push_back(usb);
    m_contest->lookForLogger();
    QCOMPARE(m_contest->contest()->document().flights.size(), size_t{1});
}

void ContestWindowTest::escapeInTheStationStopsTheDownload() {
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    plugIn(6000, 7);
    m_contest->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_contest));
    int polls = 0;
    m_rig->clock().onSleep = [&] {
        if (!m_window->form().B_Przerwij->isHidden() && ++polls == 3) {
            QTest::keyClick(m_contest, Qt::Key_Escape);
        }
    };
    m_contest->downloadButton()->click();
    m_rig->clock().onSleep = nullptr;
    QVERIFY(polls >= 3);
    QVERIFY(m_contest->contest()->document().flights.empty());
    QCOMPARE(m_contest->cardNumber()->text(), QString());
}

void ContestWindowTest::resultsAreSavedForScoringPrograms() {
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    plugIn(6000, 7);
    m_contest->downloadButton()->click();
    const QString path = m_rig->path("contest/results.csv");
    QVERIFY(m_contest->saveResultsCsv(path));
    QCOMPARE(QString::fromStdString(vtl::testing::readText(path.toStdString())),
             QString::fromStdString(m_contest->contest()->resultsCsv()));
    QVERIFY(m_contest->statusLine()->text().endsWith(QDir::toNativeSeparators(path)));
    QVERIFY(!m_contest->saveResultsCsv(m_rig->path("missing/results.csv")));
    QCOMPARE(m_rig->prompter().messages().size(), size_t{1});
}

void ContestWindowTest::resultsArePrintedThroughThePrintPath() {
    QVERIFY(m_contest->createContest(m_rig->path("contest"), twoRounds()));
    plugIn(6000, 7);
    m_contest->downloadButton()->click();
    m_contest->printButton()->click(); // the set-up is cancelled: nothing is printed
    QCOMPARE(m_rig->prompter().printerSetups(), 1);
    QCOMPARE(m_contest->statusLine()->text(), QString());

    vtl::PrinterChoices choices;
    choices.outputFile = m_rig->path("results.pdf").toStdString();
    m_rig->prompter().answerPrinterSetup(choices);
    m_contest->printButton()->click();
    QCOMPARE(vtl::testing::readText(choices.outputFile).substr(0, 5), std::string("%PDF-"));
    QVERIFY2(m_contest->statusLine()->text().contains(m_rig->path("results.pdf")),
             qPrintable(m_contest->statusLine()->text()));
    // The choices hold for the chart's next print, as the set-up dialog's do.
    QCOMPARE(m_window->printerChoices().outputFile, choices.outputFile);

    choices.outputFile = m_rig->path("missing/results.pdf").toStdString();
    m_rig->prompter().answerPrinterSetup(choices);
    m_contest->printButton()->click();
    QCOMPARE(m_rig->prompter().messages().size(), size_t{1});
}

QTEST_MAIN(ContestWindowTest)
#include "contest_window_test.moc"
