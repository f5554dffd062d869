// SPDX-License-Identifier: GPL-3.0-or-later
// vantorel-screenshot: the main window as a user sees it after loading flights, saved as a
// picture, for looking at the program's face without clicking through dialogs.
//
//   vantorel-screenshot OUT.png [--flight FILE] [--comparison FILE] [--english] [--filter]
//                       [--marks] [--acceleration] [--locale NAME] [--log FOLDER] [--contest
//                       FOLDER]
//                       [--overlay FILE]... [--cursors T1,T2] [--readout T] [--width W]
//                       [--height H]
//
// --cursors places cursors A and B at those seconds (an empty time leaves one out); --readout moves
// the pointer over the chart to that second, so the status line shows the readout.
//
// With --log the picture is of the flight log window listing FOLDER, with --contest of the contest
// window over the contest in FOLDER (its card showing the flight kept last), with --overlay (once
// for each flight) of the overlay window over those flights, at the same size.

#include "gui/contest/contest_window.h"
#include "gui/files/flight_log_window.h"
#include "gui/files/overlay_window.h"
#include "gui/flight/chart_cursors.h"
#include "gui/shell/main_window.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLocale>
#include <QMouseEvent>
#include <QTemporaryDir>

namespace {

// The pointer over the chart at a time, as the mouse would put it there.
void moveOverChart(ChartView& chart, double seconds, uint32_t samplesPer10s) {
    QWidget* plot = chart.findChild<QWidget*>(QStringLiteral("chartPlot"));
    const QRect area = chart.plotArea();
    const double point = seconds * samplesPer10s / 10.0;
    const double share =
        (point - chart.bottomMinimum()) / (chart.bottomMaximum() - chart.bottomMinimum());
    const QPoint at = plot->mapFrom(
        &chart, QPoint(area.left() + static_cast<int>(share * area.width()), area.center().y()));
    QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument("out", "picture to write");
    parser.addOptions({{"flight", "flight to load", "file"},
                       {"comparison", "flight to compare", "file"},
                       {"english", "English texts"},
                       {"filter", "filter the flight (and the comparison)"},
                       {"marks", "values on the curves"},
                       {"acceleration", "the climb curve (dh/dt) under the flight"},
                       {"locale", "regional settings, e.g. pl_PL or C", "name"},
                       {"log", "picture the flight log of this folder instead", "folder"},
                       {"contest", "picture the contest in this folder instead", "folder"},
                       {"cursors", "cursors A and B at these seconds", "T1,T2"},
                       {"readout", "the pointer over the chart at this second", "T"},
                       {"overlay", "picture an overlay of these flights instead", "file"},
                       {"width", "window width", "pixels", "1280"},
                       {"height", "window height", "pixels", "1024"}});
    parser.process(application);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(1);
    }

    if (parser.isSet("locale")) {
        QLocale::setDefault(QLocale(parser.value("locale")));
    }
    QTemporaryDir folder;
    vtl::testing::ScriptedPrompter prompter;
    TVantorel_BMP window(folder.filePath("vantorel.par"), prompter);
    window.resize(parser.value("width").toInt(), parser.value("height").toInt());
    window.show();
    if (parser.isSet("english")) {
        window.form().English1->trigger();
    }
    if (parser.isSet("acceleration") && !window.form().Przyspieszenie1->isChecked()) {
        window.form().Przyspieszenie1->trigger();
    }
    if (parser.isSet("flight")) {
        prompter.answerNextFiles({parser.value("flight").toStdString()});
        window.form().BOdczyt->click();
    }
    if (parser.isSet("comparison")) {
        prompter.answerNextFiles({parser.value("comparison").toStdString()});
        window.form().B_Porownanie->click();
    }
    if (parser.isSet("filter")) {
        window.form().B_Filtr_Vtl->click();
        window.form().B_Filtr_por->click();
    }
    if (parser.isSet("marks")) {
        window.form().Warto1->trigger();
    }
    QApplication::processEvents();
    window.form().Chart1->flush();
    if (parser.isSet("cursors")) {
        const QStringList times = parser.value("cursors").split(',');
        for (int i = 0; i < std::min<int>(2, times.size()); ++i) {
            if (!times[i].isEmpty()) {
                window.chartCursors().place(static_cast<ChartView::CursorLine>(i),
                                            times[i].toDouble());
            }
        }
        QApplication::processEvents();
        window.form().Chart1->flush();
    }
    if (parser.isSet("readout")) {
        moveOverChart(*window.form().Chart1, parser.value("readout").toDouble(),
                      window.chartCursors().timeBase());
    }
    if (parser.isSet("log")) {
        window.form().Dziennik1->trigger();
        FlightLogWindow& log = *window.flightLogWindow();
        log.setFolder(parser.value("log"));
        log.resize(window.size());
        QElapsedTimer waited;
        waited.start();
        while (log.scanning() && waited.elapsed() < 30000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        }
        QApplication::processEvents();
        return log.grab().save(parser.positionalArguments().first()) ? 0 : 1;
    }
    if (parser.isSet("overlay")) {
        window.showOverlay(parser.values("overlay"));
        OverlayWindow& overlay = *window.overlayWindow();
        overlay.resize(window.size());
        QApplication::processEvents();
        overlay.chart()->flush();
        return overlay.grab().save(parser.positionalArguments().first()) ? 0 : 1;
    }
    if (parser.isSet("contest")) {
        window.form().Zawody1->trigger();
        ContestWindow& contest = *window.contestWindow();
        contest.resize(window.size());
        if (!contest.openContest(parser.value("contest"))) {
            return 1;
        }
        QApplication::processEvents();
        return contest.grab().save(parser.positionalArguments().first()) ? 0 : 1;
    }
    return window.grab().save(parser.positionalArguments().first()) ? 0 : 1;
}
