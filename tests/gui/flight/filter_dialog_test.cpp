// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/flight/filter_dialog.h"

#include "core/shell/settings_keeper.h"
#include "support/scripted_prompter.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The dialog as the main window creates it: over the loaded settings of a file of its own.
struct Rig {
    explicit Rig(vtl::Language startLanguage = vtl::Language::Polish) : language(startLanguage) {
        keeper.load();
    }

    QString settingsPath() const { return folder.filePath("vantorel.par"); }
    std::vector<QString> edits() const {
        return {dialog.Ed_Obc_Zgr->text(), dialog.Ed_ObcDokl->text(), dialog.Ed_Filtr1->text(),
                dialog.Ed_Filtr2->text()};
    }
    void type(const QString& preCut, const QString& finalCut, const QString& preFilter,
              const QString& finalFilter) {
        dialog.Ed_Obc_Zgr->setText(preCut);
        dialog.Ed_ObcDokl->setText(finalCut);
        dialog.Ed_Filtr1->setText(preFilter);
        dialog.Ed_Filtr2->setText(finalFilter);
    }
    std::vector<int32_t> stored() const {
        const vtl::ProgramSettings s = vtl::loadProgramSettings(settingsPath().toStdString());
        return {s.preCutCm, s.finalCutCm, s.preFilterLength, s.finalFilterLength};
    }

    QTemporaryDir folder;
    vtl::testing::ScriptedPrompter prompter;
    vtl::SettingsKeeper keeper{settingsPath().toStdString(), prompter};
    vtl::Language language;
    TF_Filtr dialog{keeper, language};
};

} // namespace

class FilterDialogTest : public QObject {
    Q_OBJECT
private slots:
    void editsShowTheParametersOfTheStartOnly();
    void defaultButtonFillsTheEditsAndStoresNothing();
    void saveStoresWholeNumbersAndFallbacksForOtherTextsAndShowsThem();
    void captionsFollowTheLanguageAtEachShow();
    void tabOrderRunsDownTheEditsThenTheButtons();
};

void FilterDialogTest::editsShowTheParametersOfTheStartOnly() {
    QTemporaryDir folder;
    vtl::testing::ScriptedPrompter prompter;
    vtl::SettingsKeeper keeper(folder.filePath("vantorel.par").toStdString(), prompter);
    keeper.settings().preCutCm = 400;
    keeper.settings().finalCutCm = -3;
    keeper.settings().preFilterLength = 5;
    keeper.settings().finalFilterLength = 20;
    const vtl::Language language = vtl::Language::English;
    TF_Filtr dialog(keeper, language);
    QCOMPARE(dialog.Ed_Obc_Zgr->text(), QString("400"));
    QCOMPARE(dialog.Ed_ObcDokl->text(), QString("-3"));
    QCOMPARE(dialog.Ed_Filtr1->text(), QString("5"));
    QCOMPARE(dialog.Ed_Filtr2->text(), QString("20"));

    // Text typed and not saved is still there when the dialog is opened again.
    dialog.show();
    dialog.Ed_Filtr1->setText("x");
    keeper.settings().preFilterLength = 9;
    dialog.close();
    dialog.show();
    QCOMPARE(dialog.Ed_Filtr1->text(), QString("x"));
    QVERIFY(!QFile::exists(folder.filePath("vantorel.par")));
}

void FilterDialogTest::defaultButtonFillsTheEditsAndStoresNothing() {
    Rig rig;
    rig.keeper.settings().preCutCm = 1;
    rig.dialog.show();
    rig.type("1", "2", "3", "4");
    QTest::mouseClick(rig.dialog.Button1, Qt::LeftButton);
    QCOMPARE(rig.edits(), (std::vector<QString>{"350", "250", "8", "12"}));
    QVERIFY(rig.dialog.isVisible());
    rig.dialog.close();
    QCOMPARE(rig.keeper.settings().preCutCm, 1);
    QVERIFY(!QFile::exists(rig.settingsPath()));
}

void FilterDialogTest::saveStoresWholeNumbersAndFallbacksForOtherTextsAndShowsThem() {
    Rig rig;
    rig.dialog.show();
    rig.type(" 120", "-40", "+0", "99999999999");
    QTest::mouseClick(rig.dialog.Button2, Qt::LeftButton);
    QVERIFY(!rig.dialog.isVisible());
    QCOMPARE(rig.stored(), (std::vector<int32_t>{120, -40, 0, 13}));
    QCOMPARE(rig.keeper.settings().finalFilterLength, 13);
    // The edits show the numbers as stored, not as typed.
    QCOMPARE(rig.edits(), (std::vector<QString>{"120", "-40", "0", "13"}));

    // No range is checked; every text that is not a whole number takes its own fallback.
    rig.dialog.show();
    rig.type("", "2.5", "abc", "12 ");
    rig.dialog.Button2Click();
    QCOMPARE(rig.stored(), (std::vector<int32_t>{350, 350, 8, 13}));
    QVERIFY(rig.prompter.messages().empty());
    // What the filter uses is what the dialog shows when it is opened again.
    rig.dialog.show();
    QCOMPARE(rig.edits(), (std::vector<QString>{"350", "350", "8", "13"}));
}

void FilterDialogTest::captionsFollowTheLanguageAtEachShow() {
    Rig rig(vtl::Language::Polish);
    TF_Filtr& d = rig.dialog;
    d.show();
    QCOMPARE(d.windowTitle(), QString("Vantorel-Filtr"));
    QCOMPARE(d.Label1->text(), QString("Obciecie wstepne[cm]"));
    QCOMPARE(d.Label2->text(), QString("Filtr wstepny [4-20]"));
    QCOMPARE(d.Label3->text(), QString("Obciecie dokladne [cm]"));
    QCOMPARE(d.Label4->text(), QString("Filtr dokladny [6-30]"));
    QCOMPARE(d.Button2->text(), QString("Zapisz"));
    QCOMPARE(d.Button1->text(), QString("Domyslne"));

    // A language change shows the next time the dialog is opened.
    rig.language = vtl::Language::English;
    QCOMPARE(d.Label1->text(), QString("Obciecie wstepne[cm]"));
    d.close();
    d.show();
    QCOMPARE(d.windowTitle(), QString("Vantorel-Filtr"));
    QCOMPARE(d.Label1->text(), QString("Pre-cut [cm]"));
    QCOMPARE(d.Label2->text(), QString("Prefilter [4-20]"));
    QCOMPARE(d.Label3->text(), QString("Final cut [cm]"));
    QCOMPARE(d.Label4->text(), QString("Final Filter [6-30]"));
    QCOMPARE(d.Button2->text(), QString("Save"));
    QCOMPARE(d.Button1->text(), QString("Default"));
}

void FilterDialogTest::tabOrderRunsDownTheEditsThenTheButtons() {
    Rig rig;
    TF_Filtr& d = rig.dialog;
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.Ed_Obc_Zgr->setFocus(Qt::TabFocusReason);
    std::vector<QString> visited;
    for (int i = 0; i < 6; ++i) {
        visited.push_back(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, (std::vector<QString>{"Ed_Obc_Zgr", "Ed_Filtr1", "Ed_ObcDokl", "Ed_Filtr2",
                                            "Button1", "Button2"}));
}

QTEST_MAIN(FilterDialogTest)
#include "filter_dialog_test.moc"
