// SPDX-License-Identifier: GPL-3.0-or-later
// vantorel-screenshot: the main window as a user sees it after loading flights, saved as a
// picture, for looking at the program's face without clicking through dialogs.
//
//   vantorel-screenshot OUT.png [--flight FILE] [--comparison FILE] [--english] [--filter]
//                       [--marks] [--locale NAME] [--log FOLDER] [--contest FOLDER]
//                       [--overlay FILE]... [--width W] [--height H]
//
// With --log the picture is of the flight log window listing FOLDER, with --contest of the contest
// window over the contest in FOLDER (its card showing the flight kept last), with --overlay (once
// for each flight) of the overlay window over those flights, at the same size.

#include "gui/contest/contest_window.h"
#include "gui/files/flight_log_window.h"
#include "gui/files/overlay_window.h"
#include "gui/shell/main_window.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument("out", "picture to write");
    parser.addOptions({{"flight", "flight to load", "file"},
                       {"comparison", "flight to compare", "file"},
                       {"english", "English texts"},
                       {"filter", "filter the flight (and the comparison)"},
                       {"marks", "values on the curves"},
                       {"locale", "regional settings, e.g. pl_PL or C", "name"},
                       {"log", "picture the flight log of this folder instead", "folder"},
                       {"contest", "picture the contest in this folder instead", "folder"},
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
