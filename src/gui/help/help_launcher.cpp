// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/help/help_launcher.h"

#include "core/shell/prompter.h"
#include "core/shell/text_tables.h"
#include "gui/help/help_files.h"
#include "gui/help/help_window.h"

#include <QDir>

HelpLauncher::HelpLauncher(vtl::Prompter& prompter, const QString& programFolder, QWidget* owner)
    : m_prompter(prompter), m_programFolder(programFolder), m_owner(owner) {}

void HelpLauncher::open(vtl::Language language) {
    // The working folder is taken at each request, as the desktop resolves a bare file name.
    const QString working = QDir::currentPath();
    const QString manual = vtl::helpFilePath(working, m_programFolder, language);
    if (!manual.isEmpty() && m_prompter.openDocument(manual.toStdString())) {
        return;
    }
    // Without a viewer on the desktop the program shows the HTML manual itself.
    const QString page =
        vtl::helpFilePath(working, m_programFolder, language, vtl::HelpFormat::Html);
    if (page.isEmpty()) {
        m_prompter.showMessage(vtl::message(vtl::Message::HelpMissing, language) +
                                   vtl::helpFileBaseName(language).toStdString() + ".html",
                               vtl::message(vtl::Message::ErrorCaption, language),
                               vtl::PromptButtons::Ok);
        return;
    }
    if (m_window == nullptr) {
        m_window = new HelpWindow(m_owner);
    }
    m_window->showManual(page, language);
}
