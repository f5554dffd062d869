#include "core/shell/framework_texts.h"
#include "gui/shell/main_window.h"
#include "gui/shell/qt_prompter.h"
#include "platform/settings_location.h"

#include <QApplication>
#include <QMessageBox>

#include <QScreen>

#include <exception>

namespace {

// Without a window manager (a bare X server) a maximise request is ignored, so the window is
// also given the screen's whole available area.
void showMaximised(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.setGeometry(screen->availableGeometry());
    }
    window.showMaximized();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    try {
        QApplication::setApplicationName(QString::fromLatin1(vtl::kApplicationTitle));
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
