// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/help/help_files.h"
#include "gui/help/help_window.h"
#include "gui/shell/main_window.h"
#include "support/window_rig.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {

void write(const QString& path, const QByteArray& content = {}) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A manual with a link into itself, far enough down that following it moves the page.
QByteArray manual(const char* title, const char* word) {
    QByteArray page = QByteArray("<html><body><h1>") + title + "</h1><p><a href=\"#end\">" + title +
                      " end</a></p>";
    for (int i = 0; i < 200; ++i) {
        page += "<p>line</p>";
    }
    return page + "<h2 id=\"end\">end</h2><p>" + word + "</p></body></html>";
}

// Runs the program's help requests in a working folder of the test's own.
struct WorkingFolder {
    explicit WorkingFolder(const QString& folder) : previous(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~WorkingFolder() { QDir::setCurrent(previous); }
    QString previous;
};

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void manualsAreLookedForInTheWorkingFolderFirst();
    void withoutADesktopViewerTheManualOpensInTheOwnWindow();
    void missingManualsAreReportedInTheLanguage();
};

void HelpWindowTest::manualsAreLookedForInTheWorkingFolderFirst() {
    QTemporaryDir working;
    QTemporaryDir prefix;
    QVERIFY(QDir().mkpath(prefix.filePath("bin")));
    QVERIFY(QDir().mkpath(prefix.filePath("share/vantorel/help")));
    const QString program = prefix.filePath("bin");
    write(prefix.filePath("share/vantorel/help/Vtl_HELPP.html"));
    QCOMPARE(vtl::helpFilePath(working.path(), program, vtl::Language::Polish),
             QDir(prefix.path()).absoluteFilePath("share/vantorel/help/Vtl_HELPP.html"));
    write(prefix.filePath("bin/Vtl_HELPP.html"));
    QCOMPARE(vtl::helpFilePath(working.path(), program, vtl::Language::Polish),
             prefix.filePath("bin/Vtl_HELPP.html"));
    write(working.filePath("Vtl_HELPP.chm"));
    QCOMPARE(vtl::helpFilePath(working.path(), program, vtl::Language::Polish),
             working.filePath("Vtl_HELPP.chm"));
    // The program's own window shows HTML only.
    QCOMPARE(
        vtl::helpFilePath(working.path(), program, vtl::Language::Polish, vtl::HelpFormat::Html),
        prefix.filePath("bin/Vtl_HELPP.html"));
    QCOMPARE(vtl::helpFilePath(working.path(), program, vtl::Language::English), QString());
}

void HelpWindowTest::withoutADesktopViewerTheManualOpensInTheOwnWindow() {
    vtl::testing::WindowRig rig;
    write(rig.path("Vtl_HELPP.html"), manual("Podręcznik", "szybowiec"));
    write(rig.path("Vtl_HELPA.html"), manual("Manual", "glider"));
    WorkingFolder working(rig.folder());
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    prompter.answerDocumentsCannotBeOpened();
    TVantorel_BMP& window = rig.open(rig.path("vantorel.par"), rig.folder());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(window.helpWindow() == nullptr);

    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(prompter.openedDocuments(),
             std::vector<std::string>{rig.path("Vtl_HELPP.html").toStdString()});
    HelpWindow* help = window.helpWindow();
    QVERIFY(help != nullptr);
    QVERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), QString("Vantorel - pomoc"));
    QCOMPARE(help->backButton->text(), QString("< Wstecz"));
    QCOMPARE(help->browser->source(), QUrl::fromLocalFile(rig.path("Vtl_HELPP.html")));
    QVERIFY(help->browser->toPlainText().startsWith("Podręcznik"));
    QVERIFY(!help->backButton->isEnabled() && !help->forwardButton->isEnabled());

    // Following the link by keyboard, then back and forward again.
    help->browser->setFocus();
    QTest::keyClick(help->browser, Qt::Key_Tab);
    QTest::keyClick(help->browser, Qt::Key_Return);
    QCOMPARE(help->browser->source().fragment(), QString("end"));
    QVERIFY(help->backButton->isEnabled());
    QTest::mouseClick(help->backButton, Qt::LeftButton);
    QCOMPARE(help->browser->source().fragment(), QString());
    QVERIFY(help->forwardButton->isEnabled());
    QTest::mouseClick(help->forwardButton, Qt::LeftButton);
    QCOMPARE(help->browser->source().fragment(), QString("end"));

    // Search finds the word, again from the top after the last one, and says when it is absent.
    QTest::keyClicks(help->searchField, "szybowiec");
    QTest::keyClick(help->searchField, Qt::Key_Return);
    QCOMPARE(help->browser->textCursor().selectedText(), QString("szybowiec"));
    QVERIFY(help->findNext());
    QCOMPARE(help->browser->textCursor().selectedText(), QString("szybowiec"));
    help->searchField->setText("glider");
    QVERIFY(!help->findNext());

    // In English the same window shows the English manual from its start.
    window.form().English1->trigger();
    QVERIFY(!window.FormHelp());
    QCOMPARE(window.helpWindow(), help);
    QCOMPARE(help->windowTitle(), QString("Vantoreal - help"));
    QCOMPARE(help->findButton->text(), QString("Find next"));
    QCOMPARE(help->browser->source(), QUrl::fromLocalFile(rig.path("Vtl_HELPA.html")));
    QVERIFY(!help->backButton->isEnabled());
    QVERIFY(help->findNext());
    QCOMPARE(help->browser->textCursor().selectedText(), QString("glider"));
    QVERIFY(prompter.messages().empty());
}

void HelpWindowTest::missingManualsAreReportedInTheLanguage() {
    vtl::testing::WindowRig rig;
    WorkingFolder working(rig.folder());
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    TVantorel_BMP& window = rig.open(rig.path("vantorel.par"), rig.folder());
    window.FormHelp();
    window.form().English1->trigger();
    window.form().Help1->trigger();
    QVERIFY(prompter.openedDocuments().empty());
    QCOMPARE(prompter.messages().size(), size_t{2});
    QCOMPARE(prompter.messages()[0].text,
             std::string("Nie znaleziono podręcznika: Vtl_HELPP.html"));
    QCOMPARE(prompter.messages()[0].caption, std::string("Vantorel - problem"));
    QCOMPARE(prompter.messages()[1].text, std::string("Manual not found: Vtl_HELPA.html"));
    QCOMPARE(prompter.messages()[1].caption, std::string("Vantoreal - error"));

    // A compiled manual that the desktop cannot open leaves nothing the own window can show.
    write(rig.path("Vtl_HELPA.chm"));
    prompter.answerDocumentsCannotBeOpened();
    window.form().Help1->trigger();
    QCOMPARE(prompter.openedDocuments().size(), size_t{1});
    QCOMPARE(prompter.messages().size(), size_t{3});
    QVERIFY(window.helpWindow() == nullptr);
}

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
