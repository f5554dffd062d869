// SPDX-License-Identifier: GPL-3.0-or-later
// The chart printed: the area on the page, the stretch over it, labels that fit every printout, and
// PDF files.
#include "gui/chart/chart_view.h"

#include "gui/chart/chart_test_curves.h"

#include <QLocale>
#include <QPaintEngine>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace chart_test;

namespace {

// A page that keeps the texts painted on it, each with where it starts on the page.
class TextPage : public QPaintDevice {
public:
    struct Text {
        QString text;
        QPointF at;
    };
    const std::vector<Text>& texts() const { return m_engine.texts; }
    QStringList words() const {
        QStringList all;
        for (const Text& text : m_engine.texts) {
            all += text.text.split(' ', Qt::SkipEmptyParts);
        }
        return all;
    }
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 2400;
        case PdmHeight:
            return 1600;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 192;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    struct Engine : QPaintEngine {
        // What a PDF printer's engine offers, so that texts take the way they take to paper.
        Engine()
            : QPaintEngine(AllFeatures & ~(PorterDuff | PerspectiveTransform |
                                           ObjectBoundingModeGradients | ConicalGradientFill)) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & DirtyTransform) {
                transform = state.transform();
            }
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& at, const QTextItem& item) override {
            texts.push_back({item.text(), transform.map(at)});
        }
        Type type() const override { return User; }

        QTransform transform;
        std::vector<Text> texts;
    };
    mutable Engine m_engine;
};

} // namespace

class ChartPrintTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void axisLabelsFitEveryPrintout();
    void printAreaLiesInsideThePercentMargins();
    void printStretchesTheChartOverTheTarget();
    void printsToAPdfFile();
    void printCarriesThePicturesTexts();
};

void ChartPrintTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
}

void ChartPrintTest::axisLabelsFitEveryPrintout() {
    QTemporaryDir folder;
    ChartView chart;
    chart.resize(1265, 745);
    chart.show();
    addHighFlight(chart);
    chart.flush();
    std::vector<std::pair<ChartView::AxisLabels, ChartView::AxisLabels>> layouts;
    connect(&chart, &ChartView::laidOut, this, [&] {
        layouts.emplace_back(chart.axisLabels(ChartView::BottomAxis),
                             chart.axisLabels(ChartView::LeftAxis));
    });
    for (const bool landscape : {false, true}) {
        for (const int dpi : {150, 600}) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(folder.filePath(QString("print-%1.pdf").arg(dpi)));
            printer.setResolution(dpi);
            printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
            // The bottom margins of a landscape and of a portrait printout.
            layouts.clear();
            QVERIFY(chart.printTo(printer, QMarginsF(5, 5, 5, landscape ? 25 : 55)));
            QVERIFY(layouts.size() >= 2); // the page's, then the screen's again
            const QString page =
                QString("%1 dpi %2").arg(dpi).arg(landscape ? "landscape" : "portrait");
            for (const auto& [bottom, left] : layouts) {
                QVERIFY(bottom.texts.size() >= 3 && left.texts.size() >= 3);
                const QString overlap = overlappingLabels(bottom, ChartView::BottomAxis) +
                                        overlappingLabels(left, ChartView::LeftAxis);
                QVERIFY2(overlap.isEmpty(), qPrintable(page + ": " + overlap));
            }
        }
    }
}

void ChartPrintTest::printAreaLiesInsideThePercentMargins() {
    const QRect page(0, 0, 1000, 2000);
    QCOMPARE(ChartView::printArea(page, ChartView::kPrintMargins), QRect(50, 100, 900, 1400));
    // Portrait printing leaves the lower 55 percent of the page blank.
    QCOMPARE(ChartView::printArea(page, QMarginsF(5, 5, 5, 55)), QRect(50, 100, 900, 800));
    QCOMPARE(ChartView::printArea(page.translated(10, 20), QMarginsF(0, 0, 0, 0)),
             page.translated(10, 20));
    QVERIFY(ChartView::printArea(page, QMarginsF(5, 50, 5, 50)).isEmpty());
    QVERIFY(ChartView::printArea(page, QMarginsF(60, 5, 50, 5)).isEmpty());
}

void ChartPrintTest::printStretchesTheChartOverTheTarget() {
    ChartView chart;
    chart.resize(1265, 745);
    addAltitudeCurve(chart, 600, climbAndGlide);
    chart.flush();
    const QRect screenArea = chart.plotArea();

    // Far wider than the screen: the chart is not kept in proportion but fills the target.
    QImage page(1200, 900, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::magenta);
    const QRect target = ChartView::printArea(page.rect(), QMarginsF(5, 5, 5, 55));
    QVERIFY(chart.print(page, target));
    const QColor panel(243, 243, 243);
    QCOMPARE(page.pixelColor(target.left() + 2, target.center().y()), panel);
    QCOMPARE(page.pixelColor(target.right() - 2, target.bottom() - 2), panel);
    QCOMPARE(page.pixelColor(target.left() - 1, target.center().y()), QColor(Qt::magenta));
    QCOMPARE(page.pixelColor(target.right() + 1, target.center().y()), QColor(Qt::magenta));
    QCOMPARE(page.pixelColor(target.center().x(), target.top() - 1), QColor(Qt::magenta));
    QCOMPARE(page.pixelColor(target.center().x(), target.bottom() + 1), QColor(Qt::magenta));

    // The screen goes on with its own layout.
    QCOMPARE(chart.plotArea(), screenArea);
    QCOMPARE(chart.renderImage().size(), QSize(1265, 745));
}

void ChartPrintTest::printsToAPdfFile() {
    const auto printedSize = [](ChartView& chart, const QString& path) -> qint64 {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageOrientation(QPageLayout::Landscape);
        if (!chart.printTo(printer)) {
            return -1;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF-")) {
            return -1;
        }
        return file.size();
    };
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    ChartView chart;
    chart.resize(1265, 745);
    const qint64 empty = printedSize(chart, folder.filePath("empty.pdf"));
    QVERIFY(empty > 0);
    addAltitudeCurve(chart, 3000, climbAndGlide);
    for (int i = 0; i < 3000; ++i) {
        chart.Add(ChartView::Series3, climbAndGlide(i) * 0.9, QString());
    }
    const qint64 flight = printedSize(chart, folder.filePath("flight.pdf"));
    // The curves are drawn as lines, not left out.
    QVERIFY2(flight > empty + 10000, qPrintable(QString("%1 %2").arg(empty).arg(flight)));
}

// The unit texts and the climb axis' name lie on the chart as widgets of their own; the printout
// has them too, each by the same corner of the chart as on screen.
void ChartPrintTest::printCarriesThePicturesTexts() {
    ChartView chart;
    chart.resize(1265, 745);
    addAltitudeCurve(chart, 600, climbAndGlide);
    chart.flush();
    TextPage picture;
    chart.render(&picture);
    QStringList pictureWords = picture.words();
    pictureWords.sort();
    QCOMPARE(pictureWords, QStringList({"[m]", "[sek]", "dh/dt"}));

    TextPage paper;
    const QRect target(200, 100, 2000, 1000);
    QVERIFY(chart.print(paper, target));
    const QStringList printed = paper.words();
    for (const QString& word : pictureWords) {
        QVERIFY2(printed.contains(word), qPrintable(word + " missing from " + printed.join(' ')));
    }
    const auto printedAt = [&paper](const QString& text) {
        for (const TextPage::Text& painted : paper.texts()) {
            if (painted.text == text) {
                return painted.at;
            }
        }
        return QPointF();
    };
    // On paper as words a reader of the file finds, not as an image of them.
    const QString pdfToText = QStandardPaths::findExecutable("pdftotext");
    if (pdfToText.isEmpty()) {
#ifdef Q_OS_WIN
        QSKIP("no pdftotext in the Windows build's environment");
#else
        QFAIL("pdftotext (poppler-utils, installed by scripts/setup) is missing");
#endif
    }
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("chart.pdf"));
    QVERIFY(chart.printTo(printer));
    QProcess reader;
    reader.start(pdfToText, {folder.filePath("chart.pdf"), "-"});
    QVERIFY(reader.waitForFinished(30000));
    const QStringList pdfWords =
        QString::fromUtf8(reader.readAllStandardOutput()).split(QRegularExpression("\\s+"));
    for (const QString& word : pictureWords) {
        QVERIFY2(pdfWords.contains(word), qPrintable(word + " missing from the PDF"));
    }

    const QPointF centre = QRectF(target).center();
    const auto inside = [&target](const QPointF& at) { return QRectF(target).contains(at); };
    const QPointF metres = printedAt("[m]");
    const QPointF seconds = printedAt("[sek]");
    const QPointF climb = printedAt("dh/dt");
    QVERIFY(inside(metres) && metres.x() < centre.x() && metres.y() > centre.y());
    QVERIFY(inside(seconds) && seconds.x() > centre.x() && seconds.y() > centre.y());
    QVERIFY(inside(climb) && climb.x() > centre.x() && climb.y() < centre.y());
}

QTEST_MAIN(ChartPrintTest)
#include "chart_print_test.moc"
