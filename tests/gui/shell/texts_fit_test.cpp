// SPDX-License-Identifier: GPL-3.0-or-later
// Every caption and field text is readable whole with the fonts the program is installed with:
// nothing is wider than its widget, reaches past its parent or lies under a neighbour.
#include "core/flight/sampling_code.h"
#include "gui/device/settings_dialog.h"
#include "gui/files/flight_log_window.h"
#include "gui/flight/filter_dialog.h"
#include "gui/help/info_window.h"
#include "gui/shell/main_window.h"
#include "support/window_rig.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QtTest>

class TextsFitTest : public QObject {
    Q_OBJECT
private slots:
    void samplingTextsFitTheirFields();
    void mainWindowCaptionsFitAtEveryWidth();
    void dialogCaptionsFitInBothLanguages();
    void flightLogCaptionsFitInBothLanguages();
};

namespace {

// A line edit draws its text 2 pixels inside its contents, after its text margins.
constexpr int kLineEditInnerMargin = 2;

int lineEditRoom(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const QMargins margins = edit.textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditInnerMargin;
}

QString describe(const QWidget& widget, const QString& text, const QString& what) {
    return QStringLiteral("%1 \"%2\" %3").arg(widget.objectName(), text, what);
}

// What a user could not read in the widgets under root: captions wider than the room their widget
// gives them, widgets that reach past their parent, labels lying on a neighbour.
QStringList cutTexts(QWidget& root) {
    QStringList cut;
    auto check = [&cut](const QWidget& widget, const QString& text, const QFont& font, int room) {
        const int width = QFontMetrics(font).horizontalAdvance(text);
        if (width > room) {
            cut << describe(widget, text, QStringLiteral("needs %1 of %2").arg(width).arg(room));
        }
    };
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&root) || widget->objectName().startsWith(QLatin1String("qt_"))) {
            continue;
        }
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            check(*label, text, label->font(), label->contentsRect().width());
            for (QWidget* sibling : label->parentWidget()->findChildren<QWidget*>(
                     QString(), Qt::FindDirectChildrenOnly)) {
                const bool holdsText = qobject_cast<QLabel*>(sibling) != nullptr ||
                                       qobject_cast<QLineEdit*>(sibling) != nullptr ||
                                       qobject_cast<QAbstractButton*>(sibling) != nullptr ||
                                       qobject_cast<QComboBox*>(sibling) != nullptr;
                if (sibling != label && holdsText && sibling->isVisibleTo(&root) &&
                    sibling->geometry().intersects(label->geometry())) {
                    cut << describe(*label, text,
                                    QStringLiteral("lies on ") + sibling->objectName());
                }
            }
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            text = button->text();
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            const QRect contents =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            check(*button, text, button->font(), contents.width() - 4);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            text = group->title();
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = text;
            option.lineWidth = 1;
            option.textAlignment = group->alignment();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                               QStyle::SC_GroupBoxLabel, group);
            if (title.left() < 0 || title.right() >= group->width()) {
                cut << describe(*group, text, QStringLiteral("title past the frame"));
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count() && combo->lineEdit() != nullptr; ++i) {
                check(*combo, combo->itemText(i), combo->font(), lineEditRoom(*combo->lineEdit()));
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            check(*edit, edit->text(), edit->font(), lineEditRoom(*edit));
        } else {
            continue;
        }
        const QWidget* parent = widget->parentWidget();
        if (!parent->rect().contains(widget->geometry())) {
            cut << describe(*widget, text, QStringLiteral("reaches past ") + parent->objectName());
        }
    }
    return cut;
}

} // namespace

// The panels' sampling fields are the narrowest for their texts; every code's text fits whole.
void TextsFitTest::samplingTextsFitTheirFields() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    for (QLineEdit* field : {window.form().E_probkGl, window.form().E_probkPor}) {
        const QFontMetrics metrics(field->font());
        for (int code = 0; code < vtl::kSamplingCodeCount; ++code) {
            const QString text =
                QString::fromStdString(vtl::samplingTextForCode(static_cast<uint8_t>(code)));
            const int width = metrics.horizontalAdvance(text);
            QVERIFY2(width <= lineEditRoom(*field),
                     qPrintable(describe(
                         *field, text,
                         QStringLiteral("needs %1 of %2").arg(width).arg(lineEditRoom(*field)))));
        }
    }
}

void TextsFitTest::mainWindowCaptionsFitAtEveryWidth() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    window.show();
    for (QAction* language : {window.form().Polski1, window.form().English1}) {
        language->trigger();
        for (const int width : {1024, 1280, 1920}) {
            window.resize(width, 800);
            QApplication::processEvents();
            QCOMPARE(window.form().client->width(), width);
            const QStringList cut = cutTexts(*window.form().client);
            QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("%1 at %2: %3")
                                                   .arg(language->text())
                                                   .arg(width)
                                                   .arg(cut.join(QStringLiteral("; ")))));
        }
    }
}

void TextsFitTest::dialogCaptionsFitInBothLanguages() {
    vtl::testing::WindowRig rig;
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    TVantorel_BMP& window = rig.open();
    TFormUstawienia settingsDialog(window.settingsKeeper(), window.languageSelector(), prompter,
                                   window.serialChannel(), window.deviceProtocol(), &window);
    TF_Filtr filterDialog(window.settingsKeeper(), window.languageSelector(), &window);
    TFoInfo infoWindow(&window);
    for (QAction* language : {window.form().Polski1, window.form().English1}) {
        language->trigger();
        for (QDialog* dialog :
             std::initializer_list<QDialog*>{&settingsDialog, &filterDialog, &infoWindow}) {
            dialog->show();
            QApplication::processEvents();
            const QStringList cut = cutTexts(*dialog);
            dialog->hide();
            QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("%1, %2: %3")
                                                   .arg(dialog->objectName(), language->text(),
                                                        cut.join(QStringLiteral("; ")))));
        }
    }
}

void TextsFitTest::flightLogCaptionsFitInBothLanguages() {
    QTemporaryDir folder;
    vtl::testing::ScriptedPrompter prompter;
    TVantorel_BMP window(folder.filePath("vantorel.par"), prompter);
    FlightLogWindow log(prompter, window.languageSelector(), QString(),
                        [](const std::string&, bool) {});
    log.show();
    for (QAction* language : {window.form().Polski1, window.form().English1}) {
        language->trigger();
        log.applyLanguage();
        QApplication::processEvents();
        QStringList cut = cutTexts(log);
        QLineEdit& filter = *log.filterField();
        const int hintWidth =
            QFontMetrics(filter.font()).horizontalAdvance(filter.placeholderText());
        if (hintWidth > lineEditRoom(filter)) {
            cut << describe(
                filter, filter.placeholderText(),
                QStringLiteral("needs %1 of %2").arg(hintWidth).arg(lineEditRoom(filter)));
        }
        QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(
                                    language->text(), cut.join(QStringLiteral("; ")))));
    }
}

QTEST_MAIN(TextsFitTest)
#include "texts_fit_test.moc"
