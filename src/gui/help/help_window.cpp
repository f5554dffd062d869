// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/help/help_window.h"

#include "core/shell/text_tables.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString text(vtl::Message which, vtl::Language language) {
    return QString::fromStdString(vtl::message(which, language));
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    resize(820, 640);

    backButton = new QPushButton(this);
    backButton->setObjectName(QStringLiteral("HelpBack"));
    forwardButton = new QPushButton(this);
    forwardButton->setObjectName(QStringLiteral("HelpForward"));
    searchField = new QLineEdit(this);
    searchField->setObjectName(QStringLiteral("HelpSearch"));
    searchField->setClearButtonEnabled(true);
    findButton = new QPushButton(this);
    findButton->setObjectName(QStringLiteral("HelpFindNext"));
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("HelpBrowser"));
    // Web addresses in the manual go to the desktop; the manual's own links stay here.
    browser->setOpenExternalLinks(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(backButton);
    bar->addWidget(forwardButton);
    bar->addStretch();
    bar->addWidget(searchField);
    bar->addWidget(findButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(browser);

    backButton->setEnabled(false);
    forwardButton->setEnabled(false);
    connect(backButton, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(forwardButton, &QPushButton::clicked, browser, &QTextBrowser::forward);
    connect(browser, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardButton, &QPushButton::setEnabled);
    connect(findButton, &QPushButton::clicked, this, &HelpWindow::findNext);
    connect(searchField, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
}

void HelpWindow::showManual(const QString& path, vtl::Language language) {
    setWindowTitle(text(vtl::Message::HelpWindowCaption, language));
    backButton->setText(text(vtl::Message::HelpBack, language));
    forwardButton->setText(text(vtl::Message::HelpForward, language));
    findButton->setText(text(vtl::Message::HelpFindNext, language));
    searchField->setPlaceholderText(text(vtl::Message::HelpSearchHint, language));

    browser->setSource(QUrl::fromLocalFile(path));
    // Each request opens the manual afresh: the way back does not lead into the other language.
    browser->clearHistory();
    show();
    raise();
    activateWindow();
}

bool HelpWindow::findNext() {
    const QString wanted = searchField->text();
    if (wanted.isEmpty()) {
        return false;
    }
    if (browser->find(wanted)) {
        return true;
    }
    QTextCursor top = browser->textCursor();
    top.movePosition(QTextCursor::Start);
    browser->setTextCursor(top);
    return browser->find(wanted);
}
