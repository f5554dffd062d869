// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <QString>

#include <cstdint>

class HelpWindow;
class QWidget;

namespace vtl {
class Prompter;
}

// Opens the manual of a language: with the desktop's viewer where it has one, otherwise in the
// program's own help window, and tells the user when no manual is found, so that a help request
// always shows something.
class HelpLauncher {
public:
    HelpLauncher(vtl::Prompter& prompter, const QString& programFolder, QWidget* owner);

    void open(vtl::Language language);

    // The program's own viewer, once the desktop could not open a manual.
    HelpWindow* window() const { return m_window; }

private:
    vtl::Prompter& m_prompter;
    QString m_programFolder;
    QWidget* m_owner;
    HelpWindow* m_window = nullptr; // owned by m_owner
};
