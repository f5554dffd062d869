// SPDX-License-Identifier: GPL-3.0-or-later
// The chart as it first appears: panel, title, legend, axes, series and the overlays that the
// main window places on it.

#include "gui/chart/chart_curve.h"
#include "gui/chart/chart_view_impl.h"

#include <QLabel>
#include <QLineEdit>

namespace {

using vtl::chart::TimeLabelTicker;
using vtl::chart::ValueMarks;
using vtl::chart::ValueTicker;

struct SeriesStyle {
    const char* title;
    QRgb colour;
    int width;
    Qt::PenStyle line;
    bool onRightAxis;
};

// In creation order; Series2 (dh/dt) is the only curve on the right axis.
const std::array<SeriesStyle, ChartView::kSeriesCount> kSeriesStyles = {{
    {"Wysokosc", qRgb(232, 0, 0), 2, Qt::SolidLine, false},
    {"Przyspieszenie", qRgb(0, 0, 255), 1, Qt::SolidLine, true},
    {"Porównanie", qRgb(0, 230, 0), 2, Qt::SolidLine, false},
    {"Filtr", qRgb(0, 128, 0), 2, Qt::SolidLine, false},
    {"Filtr1", qRgb(240, 0, 0), 1, Qt::DashLine, false},
    {"Filtr2", qRgb(0, 230, 0), 1, Qt::DashLine, false},
}};

const QColor kPanelColour(243, 243, 243);
const QColor kGridColour(167, 167, 167);
const QColor kLightGrey(192, 192, 192);
const QColor kRightGridColour(159, 159, 255);
const QColor kBevelLight(255, 255, 255);
const QColor kBevelShadow(128, 128, 128);
const QString kInitialTitle = QStringLiteral("            Wysokosc / Altitude");

const QString kLeftPattern = QStringLiteral("#,##0.# ");
const QString kRightPattern = QStringLiteral("#,##0.##");

constexpr int kAltitudeCallout = 20;    // marks above the altitude curve...
constexpr int kComparisonCallout = -28; // ...and below the comparison curve
constexpr int kPanelBevel = 1;
constexpr int kTitleBevel = 3;
// Room right of the legend, so that its frame and text stay inside the panel however the
// printer's font metrics differ from the screen's.
constexpr int kLegendRightGap = 4;

QFont pixelFont(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A pen that draws one-pixel dots with the given gap, as the grids' "small dots" look.
QPen smallDots(const QColor& colour, qreal gap) {
    QPen pen(colour, 0, Qt::CustomDashLine);
    pen.setDashPattern({1, gap});
    return pen;
}

// Light above and left, shadow below and right, inside the rectangle. Drawn as filled strips,
// which land on whole pixels on screen and scale cleanly on paper.
void drawRaisedBevel(QCPPainter* painter, const QRectF& rect, qreal width) {
    painter->fillRect(QRectF(rect.left(), rect.top(), rect.width(), width), kBevelLight);
    painter->fillRect(QRectF(rect.left(), rect.top(), width, rect.height()), kBevelLight);
    painter->fillRect(QRectF(rect.left(), rect.bottom() - width, rect.width(), width),
                      kBevelShadow);
    painter->fillRect(QRectF(rect.right() - width, rect.top(), width, rect.height()), kBevelShadow);
}

// The raised edge around the whole chart panel.
class PanelBevel : public QCPLayerable {
public:
    explicit PanelBevel(QCustomPlot* plot) : QCPLayerable(plot, QStringLiteral("background")) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override {
        painter->setAntialiasing(false);
    }
    // The plot clips each layerable one pixel above its clip rectangle; this one needs the
    // whole panel, down to its last row.
    QRect clipRect() const override { return mParentPlot->viewport().translated(0, 1); }
    void draw(QCPPainter* painter) override {
        drawRaisedBevel(painter, QRectF(mParentPlot->viewport()), kPanelBevel);
    }
};

// The title text inside a raised frame that fits the text.
class BevelledTitle : public QCPTextElement {
public:
    explicit BevelledTitle(QCustomPlot* plot) : QCPTextElement(plot) {}

protected:
    void draw(QCPPainter* painter) override {
        QCPTextElement::draw(painter);
        if (!mText.trimmed().isEmpty()) {
            const bool antialiased = painter->antialiasing();
            painter->setAntialiasing(false);
            const QRect box = mTextBoundingRect.adjusted(-kTitleBevel - 3, -kTitleBevel,
                                                         kTitleBevel + 3, kTitleBevel);
            drawRaisedBevel(painter, QRectF(box), kTitleBevel);
            painter->setAntialiasing(antialiased);
        }
    }
};

} // namespace

void ChartView::Impl::buildAxes() {
    timeTicker = QSharedPointer<TimeLabelTicker>::create();
    leftTicker = QSharedPointer<ValueTicker>::create(kLeftPattern, 0.1, 0.15);
    rightTicker = QSharedPointer<ValueTicker>::create(kRightPattern, 0.01, 0.1);

    bottom->setTicker(timeTicker);
    timeTicker->setAxis(bottom);
    bottom->setTickLabelFont(pixelFont(QStringLiteral("Arial"), 15, true));
    bottom->setTickLabelRotation(-90); // reads upwards
    bottom->setBasePen(QPen(Qt::black, 0, Qt::DotLine));
    bottom->setTickLength(4, 3);
    bottom->setTickPen(QPen(kLightGrey, 0));
    bottom->setSubTickLength(0, 3);
    bottom->setSubTickPen(QPen(kLightGrey, 0, Qt::DotLine));
    bottom->grid()->setPen(QPen(kGridColour, 0, Qt::DotLine));
    bottom->grid()->setSubGridPen(smallDots(kLightGrey, 4));
    bottom->grid()->setZeroLinePen(Qt::NoPen);
    bottom->grid()->setSubGridVisible(false);

    left->setTicker(leftTicker);
    leftTicker->setAxis(left);
    leftTicker->setIncrement(0.1);
    leftTicker->setRoundFirst(false);
    left->setTickLabelFont(pixelFont(QStringLiteral("Arial"), 13, true));
    left->setTickLength(0, 0);
    left->setSubTicks(false);
    left->grid()->setPen(QPen(kGridColour, 0, Qt::DotLine));
    left->grid()->setZeroLinePen(Qt::NoPen);

    right->setVisible(true);
    right->setTicker(rightTicker);
    rightTicker->setAxis(right);
    rightTicker->setIncrement(0.1);
    right->setTickLabelFont(pixelFont(QStringLiteral("Arial"), 12, true));
    right->setTickLength(0, 0);
    right->setSubTicks(false);
    right->grid()->setVisible(true);
    right->grid()->setPen(smallDots(kRightGridColour, 3));
    right->grid()->setZeroLinePen(Qt::NoPen);

    plot->xAxis2->setVisible(false);
    plot->xAxis2->grid()->setVisible(false);
}

void ChartView::Impl::buildSeries() {
    for (int s = 0; s < kSeriesCount; ++s) {
        const SeriesStyle& style = kSeriesStyles[s];
        QCPGraph* graph = new vtl::chart::ChartCurve(bottom, style.onRightAxis ? right : left);
        graph->setName(QString::fromUtf8(style.title));
        graph->setPen(QPen(QColor(style.colour), style.width, style.line));
        graph->setLineStyle(QCPGraph::lsLine);
        graph->setScatterStyle(QCPScatterStyle::ssNone);
        graphs[s] = graph;
    }
    // The reserved filter series exists but is never drawn nor listed.
    graphs[Series4]->setVisible(false);
    graphs[Series4]->removeFromLegend();
    const QFont marksFont = pixelFont(QStringLiteral("Arial"), 11);
    marks[Series1] =
        std::make_unique<ValueMarks>(plot, graphs[Series1], kAltitudeCallout, marksFont);
    marks[Series3] =
        std::make_unique<ValueMarks>(plot, graphs[Series3], kComparisonCallout, marksFont);
    for (const int s : {Series1, Series3}) {
        marks[s]->setBackground(kPanelColour);
    }
}

void ChartView::Impl::buildLayout() {
    panelColour = kPanelColour;
    plot->setBackground(panelColour);
    new PanelBevel(plot);

    // Title above, the axes in the middle and the legend in a column on the right, its top at
    // 15 percent of the height.
    QCPLayoutGrid* layout = plot->plotLayout();
    layout->setAutoMargins(QCP::msNone);
    layout->setMargins(QMargins(5, 0, 0, 30));
    layout->setRowSpacing(0);
    layout->setColumnSpacing(4);

    titleLines = QStringList{kInitialTitle};
    title = new BevelledTitle(plot);
    title->setText(titleLines.join(QLatin1Char('\n')));
    title->setFont(pixelFont(QStringLiteral("Arial"), 13, true));
    title->setTextColor(Qt::black);
    title->setTextFlags(Qt::AlignLeft | Qt::AlignVCenter);
    title->setMargins(QMargins(kTitleBevel + 5, kTitleBevel + 2, 0, kTitleBevel + 2));
    layout->insertRow(0);
    layout->addElement(0, 0, title);

    QCPLegend* legend = plot->legend;
    plot->axisRect()->insetLayout()->take(legend);
    legend->setVisible(true);
    legend->setFont(pixelFont(QStringLiteral("Arial"), 11));
    legend->setMargins(QMargins(4, 3, 4, 3));
    auto* legendColumn = new QCPLayoutGrid;
    layout->addElement(1, 1, legendColumn);
    legendColumn->setAutoMargins(QCP::msNone);
    legendColumn->setMargins(QMargins(0, 0, kLegendRightGap, 0));
    legendColumn->addElement(0, 0, new QCPLayoutElement(plot));
    legendColumn->addElement(1, 0, legend);
    legendColumn->addElement(2, 0, new QCPLayoutElement(plot));
    legendColumn->setRowSpacing(0);
    legendColumn->setRowStretchFactors({15, 0.001, 85});
    layout->setColumnStretchFactors({1, 0.001});
    layout->setRowStretchFactors({0.001, 1});
}

void ChartView::Impl::buildOverlays() {
    const auto makeLabel = [this](const char* name, const QString& text, const QFont& font,
                                  const QPoint& pos) {
        auto* label = new QLabel(text, &view);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(font);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->adjustSize();
        label->move(pos);
        return label;
    };
    // Places for the design size of 1265 by 745; the main window moves them when it resizes.
    metres = makeLabel("metresLabel", QStringLiteral("[m]"),
                       pixelFont(QStringLiteral("MS Sans Serif"), 11), QPoint(8, 725));
    seconds = makeLabel("secondsLabel", QStringLiteral("[sek]"),
                        pixelFont(QStringLiteral("Arial"), 11), QPoint(1180, 725));
    climb = makeLabel("climbLabel", QStringLiteral("dh/dt"), pixelFont(QStringLiteral("Arial"), 13),
                      QPoint(1180, 4));

    setupOk = new QLineEdit(QStringLiteral("    OK"), &view);
    setupOk->setObjectName(QStringLiteral("EUstawieniaOK"));
    setupOk->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 24));
    setupOk->setReadOnly(true);
    setupOk->setGeometry(560, 192, 89, 37);
    setupOk->hide();
}
