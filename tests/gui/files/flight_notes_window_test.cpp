// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_notes.h"
#include "core/files/output_title.h"
#include "core/shell/text_tables.h"
#include "gui/files/flight_log_window.h"
#include "gui/files/flight_note_field.h"
#include "gui/shell/main_window.h"
#include "support/window_rig.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

using vtl::testing::readFile;
using vtl::testing::writeFile;

QByteArray flightBytes(int32_t peakCm, uint16_t competitor) {
    vtl::testing::FlightDescription flight;
    flight.competitorNumber = competitor;
    flight.serialNumber = 1234;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, peakCm, 400, -200);
    return vtl::testing::flightBytes(flight);
}

const char* const kHigh = "2026-06-14_103512_S1234_C42.bin";
const char* const kLow = "2026-06-15_090000_S1234_C9.bin";

} // namespace

// The notes kept with the flights, as the flight log and the main window show and edit them.
class FlightNotesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void logShowsNotesAndStaleOnesMarked();
    void logCellEditWritesOnlyTheNotes();
    void logExportsAndFiltersNotes();
    void mainWindowEditorWritesAndReads();
    void savedFilelessFlightKeepsItsNoteWithTheNewFile();

private:
    QString flight(const char* name) const {
        return m_rig->path(QStringLiteral("flights/") + QString::fromLatin1(name));
    }
    FlightLogWindow* openLog();
    int rowOf(FlightLogWindow* log, const QString& fileName) const;
    QTableWidgetItem* noteItem(FlightLogWindow* log, const QString& fileName) const {
        return log->table()->item(rowOf(log, fileName), FlightLogWindow::Note);
    }

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    TVantorel_BMP* m_window = nullptr;
};

void FlightNotesWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    QDir(m_rig->folder()).mkdir(QStringLiteral("flights"));
    writeFile(flight(kHigh), flightBytes(12000, 42));
    writeFile(flight(kLow), flightBytes(3000, 9));
    m_window = &m_rig->open();
}

void FlightNotesWindowTest::cleanup() {
    m_rig.reset();
}

FlightLogWindow* FlightNotesWindowTest::openLog() {
    m_window->form().Dziennik1->trigger();
    FlightLogWindow* log = m_window->flightLogWindow();
    QSignalSpy finished(log, &FlightLogWindow::scanFinished);
    if (log->scanning()) {
        finished.wait(10000);
    }
    return log;
}

int FlightNotesWindowTest::rowOf(FlightLogWindow* log, const QString& fileName) const {
    for (int row = 0; row < log->table()->rowCount(); ++row) {
        if (log->table()->item(row, FlightLogWindow::FileName)->text() == fileName) {
            return row;
        }
    }
    return -1;
}

void FlightNotesWindowTest::logShowsNotesAndStaleOnesMarked() {
    vtl::writeFlightNote(flight(kHigh).toStdString(), "hol 40 m, zły start");
    vtl::writeFlightNote(flight(kLow).toStdString(), "termika");
    writeFile(flight(kLow), flightBytes(3500, 9)); // the file changed since its note
    FlightLogWindow* log = openLog();
    QCOMPARE(log->table()->horizontalHeaderItem(FlightLogWindow::Note)->text(),
             QStringLiteral("Uwagi"));
    QTableWidgetItem* high = noteItem(log, kHigh);
    QCOMPARE(high->text(), QStringLiteral("hol 40 m, zły start"));
    QVERIFY(!high->font().italic());
    QVERIFY(high->toolTip().isEmpty());
    QTableWidgetItem* low = noteItem(log, kLow);
    QCOMPARE(low->text(), QStringLiteral("termika"));
    QVERIFY(low->font().italic());
    QCOMPARE(low->toolTip(), QStringLiteral("Uwaga do wcześniejszej wersji tego pliku"));
    m_window->form().English1->trigger();
    QCOMPARE(noteItem(log, kLow)->toolTip(),
             QStringLiteral("Note of an earlier version of this file"));
    QCOMPARE(log->table()->horizontalHeaderItem(FlightLogWindow::Note)->text(),
             QStringLiteral("Notes"));

    // A renamed file keeps its note: it is found by the file's bytes.
    QVERIFY(QFile::rename(flight(kHigh), flight("renamed.bin")));
    log->setFolder(log->folder());
    QSignalSpy finished(log, &FlightLogWindow::scanFinished);
    QVERIFY(finished.wait(10000));
    QCOMPARE(noteItem(log, "renamed.bin")->text(), QStringLiteral("hol 40 m, zły start"));
    QVERIFY(!noteItem(log, "renamed.bin")->font().italic());
}

void FlightNotesWindowTest::logCellEditWritesOnlyTheNotes() {
    FlightLogWindow* log = openLog();
    QTableWidget* table = log->table();
    const QByteArray before = readFile(flight(kHigh));
    // Only the note is edited in place: the other cells open the flight.
    QVERIFY(
        !(table->item(rowOf(log, kHigh), FlightLogWindow::FileName)->flags() & Qt::ItemIsEditable));

    // F2 on the note cell, typed text, Enter: as the user edits.
    log->show();
    QVERIFY(QTest::qWaitForWindowActive(log));
    table->setCurrentCell(rowOf(log, kHigh), FlightLogWindow::Note);
    QTest::keyClick(table, Qt::Key_F2);
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    editor->setText(QStringLiteral("wiatr 3 m/s"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits the editor's text once the event loop runs.
    QTRY_COMPARE(noteItem(log, kHigh)->text(), QStringLiteral("wiatr 3 m/s"));
    QCOMPARE(vtl::readFlightNote(flight(kHigh).toStdString())->text, "wiatr 3 m/s");
    QCOMPARE(readFile(flight(kHigh)), before);
    QCOMPARE(noteItem(log, kHigh)->text(), QStringLiteral("wiatr 3 m/s"));
    QVERIFY(QDir(m_rig->path("flights"))
                .entryList(QDir::Files | QDir::Hidden)
                .contains(QString::fromLatin1(vtl::kFlightNotesFileName)));

    // A notes file that cannot be read as notes is never written over: the user is told in the
    // window's language, and the cell shows the stored note again.
    const QString notesFile =
        m_rig->path(QStringLiteral("flights/") + QString::fromLatin1(vtl::kFlightNotesFileName));
    QVERIFY(writeFile(notesFile, "{ damaged"));
    noteItem(log, kHigh)->setText(QStringLiteral("nowa"));
    QCOMPARE(m_rig->prompter().messages().size(), size_t{1});
    // Windows names the notes file with backslashes where the folder ends.
    const QString told =
        QString::fromStdString(m_rig->prompter().messages()[0].text).replace('\\', '/');
    const QString damaged = QString::fromStdString(
        vtl::FlightNotesError(vtl::Message::NotesDamaged, notesFile.toStdString())
            .text(vtl::Language::Polish));
    QVERIFY2(told.contains(damaged), qPrintable(told));
    QCOMPARE(noteItem(log, kHigh)->text(), QStringLiteral("wiatr 3 m/s"));
    QCOMPARE(readFile(notesFile), QByteArray("{ damaged"));
}

void FlightNotesWindowTest::logExportsAndFiltersNotes() {
    vtl::writeFlightNote(flight(kLow).toStdString(), "lądowanie w zbożu, \"auć\"");
    FlightLogWindow* log = openLog();
    log->filterField()->setText(QStringLiteral("ZBOŻU"));
    QVERIFY(!log->table()->isRowHidden(rowOf(log, kLow)));
    QVERIFY(log->table()->isRowHidden(rowOf(log, kHigh)));
    log->filterField()->clear();

    const QString csv = m_rig->path("log.csv");
    m_rig->prompter().answerNextFiles({csv.toStdString()});
    log->exportButton()->click();
    const QList<QByteArray> lines = readFile(csv).split('\n');
    QVERIFY(lines[0].startsWith("downloaded,") && lines[0].endsWith(",note,note_stale\r"));
    bool found = false;
    for (const QByteArray& line : lines) {
        if (line.contains(kLow)) {
            found = true;
            QVERIFY(QString::fromUtf8(line).endsWith(
                QStringLiteral(",\"lądowanie w zbożu, \"\"auć\"\"\",\r")));
        } else if (line.contains(kHigh)) {
            QVERIFY(line.endsWith(",,\r"));
        }
    }
    QVERIFY(found);
}

void FlightNotesWindowTest::mainWindowEditorWritesAndReads() {
    FlightNoteField* field = m_window->noteField();
    // No flight from a file: nothing to keep a note with.
    QVERIFY(!field->editor()->isEnabled());
    QVERIFY(!field->editor()->placeholderText().isEmpty());

    FlightLogWindow* log = openLog();
    m_rig->load(flight(kHigh));
    QVERIFY(field->editor()->isEnabled());
    QCOMPARE(field->editor()->text(), QString());

    field->editor()->setFocus();
    field->editor()->selectAll();
    QTest::keyClicks(field->editor(), QStringLiteral("hol 40 m"));
    QTest::keyClick(field->editor(), Qt::Key_Return);
    QCOMPARE(vtl::readFlightNote(flight(kHigh).toStdString())->text, "hol 40 m");
    // The open log shows it, and the picture's title carries it.
    QCOMPARE(noteItem(log, kHigh)->text(), QStringLiteral("hol 40 m"));
    const std::vector<std::string> title =
        vtl::outputTitleLines(m_window->outputPanel(), m_window->currentLanguage());
    QCOMPARE(QString::fromStdString(title.back()), QStringLiteral("        Uwagi: hol 40 m"));

    // Another flight reads its own (none); the first one's note comes back with it, and a note
    // written in the log shows in the field.
    m_rig->load(flight(kLow));
    QCOMPARE(field->editor()->text(), QString());
    QCOMPARE(vtl::outputTitleLines(m_window->outputPanel(), m_window->currentLanguage()).size(),
             title.size() - 1);
    noteItem(log, kLow)->setText(QStringLiteral("z logu"));
    QCOMPARE(field->editor()->text(), QStringLiteral("z logu"));
    m_rig->load(flight(kHigh));
    QCOMPARE(field->editor()->text(), QStringLiteral("hol 40 m"));

    // A changed file shows its old note marked, and leaving it untouched keeps it the old one's.
    writeFile(flight(kHigh), flightBytes(9000, 42));
    m_rig->load(flight(kHigh));
    QCOMPARE(field->editor()->text(), QStringLiteral("hol 40 m"));
    QVERIFY(field->editor()->font().italic());
    QVERIFY(field->noteStale());
    emit field->editor()->editingFinished();
    QVERIFY(vtl::readFlightNote(flight(kHigh).toStdString())->stale);

    // A click on the curve takes the flight away: no file, no note.
    m_window->form().Chart1->Clear(ChartView::Series1);
    emit m_window->form().Chart1->OnClickSeries(ChartView::Series1);
    QVERIFY(!field->editor()->isEnabled());
    QVERIFY(field->note().empty());
}

void FlightNotesWindowTest::savedFilelessFlightKeepsItsNoteWithTheNewFile() {
    // The archive's place is a file: the downloaded flight is shown, but has no file.
    const QString notAFolder = m_rig->path("not-a-folder");
    writeFile(notAFolder, QByteArray("x"));
    m_window->setArchiveFolder(notAFolder);
    const QByteArray image = flightBytes(6000, 7);
    m_rig->model().image.assign(image.begin(), image.end());
    m_window->form().B_Odczyt_Vantorelu->click();
    QVERIFY(m_window->currentFlight().holdsFlight());
    FlightNoteField* field = m_window->noteField();
    QVERIFY(!field->editor()->isEnabled());

    const QString saved = m_rig->path("saved.bin");
    m_rig->prompter().answerNextFiles({saved.toStdString()});
    m_window->form().BZapisz->click();
    QVERIFY(QFile::exists(saved));
    QVERIFY(field->editor()->isEnabled());
    field->editor()->setFocus();
    QTest::keyClicks(field->editor(), QStringLiteral("saved by hand"));
    QTest::keyClick(field->editor(), Qt::Key_Return);
    QCOMPARE(vtl::readFlightNote(saved.toStdString())->text, "saved by hand");

    // A flight that has its file keeps it when saved elsewhere too.
    const QString copy = m_rig->path("copy.bin");
    m_rig->prompter().answerNextFiles({copy.toStdString()});
    m_window->form().BZapisz->click();
    QVERIFY(QFile::exists(copy));
    QCOMPARE(field->flightFile(), saved.toStdString());
}

QTEST_MAIN(FlightNotesWindowTest)
#include "flight_notes_window_test.moc"
