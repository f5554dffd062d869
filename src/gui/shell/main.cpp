// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/framework_texts.h"
#include "core/shell/program_version.h"
#include "gui/help/help_files.h"
#include "gui/shell/main_window.h"
#include "gui/shell/qt_prompter.h"
#include "platform/settings_location.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <QScreen>

#include <cstdio>
#include <exception>
#include <string>

namespace {

// Without a window manager (a bare X server) a maximise request is ignored, so the window is
// also given the screen's whole available area.
void showMaximised(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.setGeometry(screen->availableGeometry());
    }
    window.showMaximized();
}

// Qt's own options (-platform NAME, -style NAME, ...) are taken by QApplication; the program has
// none of its own beyond these two.
const char* const kUsage = "usage: vantorel [--help] [--version] [Qt options]\n"
                           "Opens the main window of the flight recorder program.\n"
                           "  --help     this text\n"
                           "  --version  the program's name and version\n"
                           "Exit status: 0 when the window is closed, 2 for a bad command line.\n";

// Where the help window will look for each manual, so that a user (and the install test) can see
// that an installed program finds them. Needs no display.
void printManualPlaces(int argc, char* argv[]) {
    QCoreApplication locator(argc, argv);
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const vtl::Language language : {vtl::Language::Polish, vtl::Language::English}) {
        const QString path =
            vtl::helpFilePath(QDir::currentPath(), programFolder, language, vtl::HelpFormat::Html);
        std::printf("%s manual: %s\n", language == vtl::Language::Polish ? "Polish" : "English",
                    path.isEmpty() ? "not found" : qPrintable(QDir::toNativeSeparators(path)));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // Answered before the application object, which needs a display.
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            std::fputs(kUsage, stdout);
            printManualPlaces(argc, argv);
            return 0;
        }
        if (word == "--version") {
            std::printf("vantorel %s\n", vtl::kProgramVersion);
            return 0;
        }
    }
    QApplication application(argc, argv);
    // What Qt did not take is not for this program.
    if (argc > 1) {
        std::fprintf(stderr, "vantorel: unknown option %s\n", argv[1]);
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        QApplication::setApplicationName(QString::fromLatin1(vtl::kApplicationTitle));
        // Lets the desktop match the window to its installed entry and icon.
        QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vantorel.Vantorel"));
        vtl::QtPrompter prompter;
        TVantorel_BMP mainWindow(vtl::settingsPlacesFor(QCoreApplication::applicationFilePath()),
                                 prompter);
        prompter.followLanguage(mainWindow.languageSelector());
        showMaximised(mainWindow);
        QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QString::fromLatin1(vtl::kExceptionCaption),
                              QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
