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
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHelpEvent>
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
    void panelLabelsClearTheFrameLines();
    void longFileNameIsShortenedInItsMiddle();
    void filterDialogHasRoomForItsTitle();
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

// The rows of the frame's top line as the box draws it, looked for right of the title.
std::pair<int, int> frameTopRows(QGroupBox& box) {
    QImage drawn(box.size(), QImage::Format_RGB32);
    const QColor background(1, 2, 3);
    drawn.fill(background);
    box.render(&drawn, QPoint(), QRegion(), QWidget::RenderFlags());
    const int column = box.width() - 12;
    int top = 0;
    while (top < drawn.height() && drawn.pixelColor(column, top) == background) {
        ++top;
    }
    int bottom = top;
    while (bottom + 1 < drawn.height() && drawn.pixelColor(column, bottom + 1) != background) {
        ++bottom;
    }
    return {top, bottom};
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

void TextsFitTest::panelLabelsClearTheFrameLines() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    window.show();
    MainWindowForm& f = window.form();
    for (QAction* language : {f.Polski1, f.English1}) {
        language->trigger();
        for (const QSize size : {QSize(1024, 768), QSize(1920, 1080)}) {
            window.resize(size);
            QApplication::processEvents();
            for (QGroupBox* box :
                 {static_cast<QGroupBox*>(f.GroupB_Vtl), static_cast<QGroupBox*>(f.GroupB_Por)}) {
                const auto [top, bottom] = frameTopRows(*box);
                QVERIFY2(top < 16, qPrintable(box->objectName())); // a line is there at all
                for (const QLabel* label : box->findChildren<QLabel*>()) {
                    QVERIFY2(label->geometry().top() > bottom,
                             qPrintable(QStringLiteral("%1 %2 at %3, frame line %4-%5")
                                            .arg(label->objectName(), language->text())
                                            .arg(label->geometry().top())
                                            .arg(top)
                                            .arg(bottom)));
                }
            }
        }
    }
}

// At the smallest window a long comparison name loses its middle, never its extension, and the
// whole path is in the tooltip.
void TextsFitTest::longFileNameIsShortenedInItsMiddle() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    window.resize(1024, 768);
    window.show();
    QApplication::processEvents();
    const QString name = QStringLiteral("zawody_krajowe_2024_runda_trzecia_lot_popoludniowy.bin");
    vtl::testing::FlightDescription flight;
    flight.altitudeCm = vtl::testing::climbAndGlide(30, 5000, 60, -300);
    vtl::testing::writeFile(rig.path(name), vtl::testing::flightBytes(flight));
    window.openFlightFile(rig.path(name).toStdString(), true);
    PanelGroupBox& box = *window.form().GroupB_Por;
    QCOMPARE(box.title(), name);
    const QString shown = box.shownTitle();
    QVERIFY2(shown.endsWith(QStringLiteral(".bin")) && shown.contains(QChar(0x2026)),
             qPrintable(shown));
    QVERIFY(shown.startsWith(QStringLiteral("zaw")));
    QVERIFY(box.fontMetrics().horizontalAdvance(shown) < box.width() - 16);
    QVERIFY(box.geometry().right() < window.form().client->width());

    QHelpEvent hover(QEvent::ToolTip, QPoint(20, 5), box.mapToGlobal(QPoint(20, 5)));
    QApplication::sendEvent(&box, &hover);
    QCOMPARE(box.toolTip(), QDir::toNativeSeparators(rig.path(name)));
    // A short name is shown whole; a title that names no file has no tooltip.
    box.setTitle(QStringLiteral("lot.bin"));
    QCOMPARE(box.shownTitle(), QStringLiteral("lot.bin"));
    QApplication::sendEvent(&box, &hover);
    QCOMPARE(box.toolTip(), QString());
}

void TextsFitTest::filterDialogHasRoomForItsTitle() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    TF_Filtr dialog(window.settingsKeeper(), window.languageSelector(), &window);
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    // An icon and three buttons beside the title.
    const int buttons = 4 * dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vantorel-Filtr"));
    QVERIFY(dialog.width() >=
            QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + buttons);
}

QTEST_MAIN(TextsFitTest)
#include "texts_fit_test.moc"
