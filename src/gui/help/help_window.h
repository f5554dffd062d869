// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <QWidget>

#include <cstdint>

class QLineEdit;
class QPushButton;
class QTextBrowser;

// The program's own viewer for the HTML manual, for a desktop that has none: the page with
// back and forward over the links followed, and a search field that finds the next occurrence.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the manual from its start, with title and buttons in the language, and brings the
    // window to the front.
    void showManual(const QString& path, vtl::Language language);

    // Selects the next occurrence of the search text after the cursor, starting again at the top
    // once; false when the page does not hold it.
    bool findNext();

    QTextBrowser* browser = nullptr;
    QPushButton* backButton = nullptr;
    QPushButton* forwardButton = nullptr;
    QLineEdit* searchField = nullptr;
    QPushButton* findButton = nullptr;
};
