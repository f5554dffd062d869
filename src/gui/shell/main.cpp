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
#include <cstdlib>
#include <exception>
#include <iterator>
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

// Qt's own options, as QApplication and its platform plugins take them (either with one dash or
// two); the command line is checked against them before anything touches the window system, so
// that a mistyped option is answered with the usage even where no display can be opened.
const char* const kQtOptionsWithValue[] = {"-platform",
                                           "-platformpluginpath",
                                           "-platformtheme",
                                           "-plugin",
                                           "-qwindowgeometry",
                                           "-geometry",
                                           "-qwindowtitle",
                                           "-title",
                                           "-qwindowicon",
                                           "-icon",
                                           "-session",
                                           "-style",
                                           "-stylesheet",
                                           "-display",
                                           "-name",
                                           "-visual"};
const char* const kQtFlags[] = {"-reverse", "-widgetcount", "-sync",
                                "-nograb",  "-dograb",      "-testability"};
const char* const kQtJoinedOptions[] = {"-style=", "-stylesheet=", "-qmljsdebugger="};

bool isOneOf(const std::string& word, const char* const* begin, const char* const* end) {
    for (const char* const* option = begin; option != end; ++option) {
        if (word == *option) {
            return true;
        }
    }
    return false;
}

struct QtCommandLine {
    const char* unknown = nullptr; // the first word that is not one of Qt's options
    bool namesPlatform = false;    // -platform or -display: the user chose where windows go
};

QtCommandLine readQtOptions(int argc, char* argv[]) {
    QtCommandLine line;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word.rfind("--", 0) == 0) {
            word.erase(0, 1);
        }
        if (isOneOf(word, std::begin(kQtOptionsWithValue), std::end(kQtOptionsWithValue))) {
            line.namesPlatform = line.namesPlatform || word == "-platform" || word == "-display";
            ++i; // Qt takes the next word as the value, whatever it looks like
            continue;
        }
        if (isOneOf(word, std::begin(kQtFlags), std::end(kQtFlags))) {
            continue;
        }
        bool joined = false;
        for (const char* prefix : kQtJoinedOptions) {
            joined = joined || word.rfind(prefix, 0) == 0;
        }
        if (!joined) {
            line.unknown = argv[i];
            return line;
        }
    }
    return line;
}

#ifdef __linux__
bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Without a display Qt aborts with a page about platform plugins; one line says what is wrong.
bool reportMissingDisplay(const QtCommandLine& line) {
    if (line.namesPlatform || isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") ||
        isSet("WAYLAND_DISPLAY")) {
        return false;
    }
    std::fputs("vantorel: no display (DISPLAY is not set)\n", stderr);
    return true;
}
#endif

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
    const QtCommandLine qtOptions = readQtOptions(argc, argv);
    if (qtOptions.unknown != nullptr) {
        std::fprintf(stderr, "vantorel: unknown option %s\n", qtOptions.unknown);
        std::fputs(kUsage, stderr);
        return 2;
    }
#ifdef __linux__
    if (reportMissingDisplay(qtOptions)) {
        return 1;
    }
#endif
    QApplication application(argc, argv);
    // The list above admits every platform plugin's options; what the plugin in use did not take
    // is not for this program.
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
