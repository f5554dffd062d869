// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_view.h"

#include "core/chart/top_row_layout.h"
#include "gui/chart/chart_value_format.h"
#include "gui/chart/chart_view_impl.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QResizeEvent>
#include <QTimer>

#include <cmath>

namespace {

using vtl::chart::Ranges;
using vtl::chart::SeriesBuffer;
using vtl::chart::ValueMarks;

} // namespace

ChartView::Impl::Impl(ChartView& owner)
    : view(owner), plot(new vtl::chart::ChartPlot(&owner)), bottom(plot->xAxis), left(plot->yAxis),
      right(plot->yAxis2) {
    plot->setObjectName(QStringLiteral("chartPlot"));
    plot->setPlottingHints(QCP::phCacheLabels | QCP::phFastPolylines);
    plot->addLayer(QStringLiteral("marks"), plot->layer(QStringLiteral("main")),
                   QCustomPlot::limAbove);
    plot->addLayer(QStringLiteral("markTexts"), plot->layer(QStringLiteral("marks")),
                   QCustomPlot::limAbove);
    buildAxes();
    buildSeries();
    buildLayout();
    buildOverlays();
    buildZoom();
    buildCursors();
    plot->setAfterLayout([this] { afterLayout(); });
}

void ChartView::Impl::afterLayout() {
    // The altitude curve's marks first; the comparison's keep clear of them.
    vtl::chart::MarkBoxes taken;
    for (const auto& valueMarks : marks) {
        if (valueMarks) {
            valueMarks->place(taken);
        }
    }
    for (const LabelledAxis which : {BottomAxis, LeftAxis}) {
        const QCPAxis* axis = which == BottomAxis ? bottom : left;
        AxisLabels& labels = laidOutLabels[which];
        labels.font = axis->tickLabelFont();
        labels.texts = axis->tickVectorLabels();
        labels.positions.clear();
        for (const double tick : axis->tickVector()) {
            labels.positions.push_back(axis->coordToPixel(tick));
        }
    }
    emit view.laidOut();
}

void ChartView::Impl::scheduleRedraw() {
    if (!redrawQueued) {
        redrawQueued = true;
        QTimer::singleShot(0, &view, [this] {
            if (redrawQueued) {
                redraw();
            }
        });
    }
}

void ChartView::Impl::redraw() {
    redrawQueued = false;
    // A hidden widget gets its resize events late; draw at the size it has now.
    if (plot->geometry() != view.rect()) {
        plot->setGeometry(view.rect());
    }
    if (plot->viewport() != plot->rect()) {
        plot->setViewport(plot->rect());
    }
    for (int s = 0; s < kSeriesCount; ++s) {
        SeriesBuffer& buffer = buffers[s];
        if (buffer.transferred) {
            continue;
        }
        QVector<QCPGraphData> points(buffer.pageCount());
        for (int i = 0; i < points.size(); ++i) {
            points[i] = QCPGraphData(i, buffer.values[i]);
        }
        graphs[s]->data()->set(points, true);
        buffer.transferred = true;
    }
    applyRanges();
    plot->replot(QCustomPlot::rpQueuedRefresh);
}

void ChartView::Impl::applyRanges() {
    // The time labels are those of the altitude curve; past its end, those of the comparison
    // curve, which carries labels when it was drawn on the current flight's sample times.
    const SeriesBuffer& altitude = buffers[Series1];
    const SeriesBuffer& comparison = buffers[Series3];
    int count = std::max(altitude.pageCount(), comparison.pageCount());
    timeLabels.assign(altitude.labels.begin(), altitude.labels.begin() + altitude.pageCount());
    if (comparison.pageCount() > altitude.pageCount()) {
        timeLabels.insert(timeLabels.end(), comparison.labels.begin() + altitude.pageCount(),
                          comparison.labels.begin() + count);
    }
    if (overlayCount > count) {
        timeLabels.insert(timeLabels.end(), overlayLabels.begin() + count,
                          overlayLabels.begin() + overlayCount);
        count = overlayCount;
    }
    timeTicker->setLabels(&timeLabels, count);
    const Ranges ranges = currentRanges();
    bottom->setRange(ranges.bottom);
    left->setRange(ranges.left);
    right->setRange(ranges.right);
}

Ranges ChartView::Impl::currentRanges() const {
    return zoom ? *zoom : Ranges{bottomRange(), leftRange(), rightRange()};
}

QCPRange ChartView::Impl::bottomRange() const {
    int count = 0;
    for (int s = 0; s < kSeriesCount; ++s) {
        if (s != Series4) {
            count = std::max(count, buffers[s].pageCount());
        }
    }
    count = std::max(count, overlayCount);
    return QCPRange(0, std::max(1, count - 1));
}

QCPRange ChartView::Impl::leftRange() const {
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();
    for (const Series s : {Series1, Series3, Series5, Series6}) {
        minimum = std::min(minimum, buffers[s].pageMinimum);
        maximum = std::max(maximum, buffers[s].pageMaximum);
    }
    minimum = std::min(minimum, overlayMinimum);
    maximum = std::max(maximum, overlayMaximum);
    if (minimum > maximum) {
        minimum = maximum = 0;
    }
    const double lower = leftAutomaticMinimum ? minimum : leftManualMinimum;
    double upper = leftAutomaticMaximum ? maximum : leftManualMaximum;
    if (!(upper > lower)) {
        upper = lower + 1;
    }
    return QCPRange(lower, upper);
}

QCPRange ChartView::Impl::rightRange() const {
    const SeriesBuffer& climbCurve = buffers[Series2];
    if (!climbCurve.hasPageData()) {
        return QCPRange(0, 1);
    }
    if (climbCurve.pageMaximum > climbCurve.pageMinimum) {
        return QCPRange(climbCurve.pageMinimum, climbCurve.pageMaximum);
    }
    return QCPRange(climbCurve.pageMinimum - 1, climbCurve.pageMaximum + 1);
}

// Setting the left axis while zoomed takes effect at once, the other axes stay zoomed.
void ChartView::Impl::dropLeftZoom() {
    if (zoom) {
        zoom->left = leftRange();
    }
    scheduleRedraw();
}

ChartView::ChartView(QWidget* parent) : QWidget(parent), m_impl(std::make_unique<Impl>(*this)) {
    setObjectName(QStringLiteral("Chart1"));
    m_impl->plot->installEventFilter(this);
    resize(1265, 745);
    m_impl->scheduleRedraw();
}

ChartView::~ChartView() = default;

void ChartView::Clear(Series series) {
    // The vectors keep their capacity: a flight is usually redrawn with as many points.
    SeriesBuffer& buffer = m_impl->buffers[series];
    buffer.values.clear();
    buffer.labels.clear();
    buffer.pageMinimum = std::numeric_limits<double>::infinity();
    buffer.pageMaximum = -std::numeric_limits<double>::infinity();
    buffer.transferred = false;
    m_impl->scheduleRedraw();
}

// A line is drawn in one colour, so a point's colour is not kept: the only explicit colour the
// program passes is the dh/dt series' own blue.
int ChartView::Add(Series series, double value, const QString& label, std::optional<QColor>) {
    SeriesBuffer& buffer = m_impl->buffers[series];
    const int index = static_cast<int>(buffer.values.size());
    buffer.values.push_back(value);
    buffer.labels.push_back(label);
    if (index < kPointsPerPage) {
        buffer.pageMinimum = std::min(buffer.pageMinimum, value);
        buffer.pageMaximum = std::max(buffer.pageMaximum, value);
        buffer.transferred = false;
        m_impl->scheduleRedraw();
    }
    return index;
}

void ChartView::SetTitle(Series series, const QString& title) {
    m_impl->graphs[series]->setName(title);
    m_impl->scheduleRedraw();
}

QString ChartView::title(Series series) const {
    return m_impl->graphs[series]->name();
}

void ChartView::setMarksVisible(Series series, bool visible) {
    if (ValueMarks* marks = m_impl->marks[series].get()) {
        marks->setVisible(visible);
        m_impl->scheduleRedraw();
    }
}

void ChartView::setMarksRounding(Series series, vtl::AltitudeRounding rounding) {
    if (ValueMarks* marks = m_impl->marks[series].get()) {
        marks->setRounding(rounding);
    }
}

vtl::AltitudeRounding ChartView::marksRounding(Series series) const {
    const ValueMarks* marks = m_impl->marks[series].get();
    return marks ? marks->rounding() : vtl::AltitudeRounding::PlottedMetres;
}

bool ChartView::marksVisible(Series series) const {
    const ValueMarks* marks = m_impl->marks[series].get();
    return marks && marks->visible();
}

void ChartView::Repaint(Series) {
    m_impl->scheduleRedraw();
}

int ChartView::pointCount(Series series) const {
    return static_cast<int>(m_impl->buffers[series].values.size());
}

double ChartView::pointValue(Series series, int index) const {
    return m_impl->buffers[series].values.at(static_cast<std::size_t>(index));
}

QString ChartView::pointLabel(Series series, int index) const {
    return m_impl->buffers[series].labels.at(static_cast<std::size_t>(index));
}

bool ChartView::isActive(Series series) const {
    return series != Series4;
}

void ChartView::leftSetMinimum(double value) {
    m_impl->leftManualMinimum = value;
    m_impl->dropLeftZoom();
}

void ChartView::leftSetMaximum(double value) {
    m_impl->leftManualMaximum = value;
    m_impl->dropLeftZoom();
}

void ChartView::leftSetAutomatic(bool automatic) {
    m_impl->leftAutomaticMinimum = automatic;
    m_impl->leftAutomaticMaximum = automatic;
    m_impl->dropLeftZoom();
}

void ChartView::leftSetAutomaticMaximum(bool automatic) {
    m_impl->leftAutomaticMaximum = automatic;
    m_impl->dropLeftZoom();
}

void ChartView::leftSetAutomaticMinimum(bool automatic) {
    m_impl->leftAutomaticMinimum = automatic;
    m_impl->dropLeftZoom();
}

void ChartView::leftSetDesiredIncrement(double increment) {
    m_impl->leftTicker->setIncrement(increment);
    m_impl->scheduleRedraw();
}

double ChartView::leftMinimum() const {
    return m_impl->currentRanges().left.lower;
}

double ChartView::leftMaximum() const {
    return m_impl->currentRanges().left.upper;
}

void ChartView::bottomSetMinorTickCount(int count) {
    m_impl->minorTickCount = count;
    m_impl->timeTicker->setMinorCount(count);
    m_impl->scheduleRedraw();
}

int ChartView::bottomMinorTickCount() const {
    return m_impl->minorTickCount;
}

void ChartView::bottomSetMinorGridVisible(bool visible) {
    m_impl->bottom->grid()->setSubGridVisible(visible);
    m_impl->scheduleRedraw();
}

bool ChartView::bottomMinorGridVisible() const {
    return m_impl->bottom->grid()->subGridVisible();
}

double ChartView::bottomMinimum() const {
    return m_impl->currentRanges().bottom.lower;
}

double ChartView::bottomMaximum() const {
    return m_impl->currentRanges().bottom.upper;
}

QStringList ChartView::bottomAxisLabels() const {
    return m_impl->bottom->tickVectorLabels();
}

std::vector<double> ChartView::bottomMinorTicks() const {
    const QVector<double>& ticks = m_impl->timeTicker->lastMinorTicks();
    return std::vector<double>(ticks.begin(), ticks.end());
}

ChartView::AxisLabels ChartView::axisLabels(LabelledAxis axis) const {
    return m_impl->laidOutLabels[axis];
}

std::vector<ChartView::ValueMark> ChartView::valueMarks(Series series) const {
    std::vector<ValueMark> result;
    if (const ValueMarks* marks = m_impl->marks[series].get()) {
        for (const ValueMarks::Placed& placed : marks->placed()) {
            ValueMark mark;
            mark.text = placed.text->text();
            mark.box = QRectF(placed.text->topLeft->pixelPosition(),
                              placed.text->bottomRight->pixelPosition());
            mark.calloutStart = placed.callout->start->pixelPosition();
            mark.point = placed.callout->end->pixelPosition();
            mark.arrowHead = placed.callout->head().style() != QCPLineEnding::esNone;
            // The plot fills an arrow head with the colour of the line's pen.
            mark.calloutBrush = placed.callout->pen().color();
            result.push_back(mark);
        }
    }
    return result;
}

QRect ChartView::plotArea() const {
    return m_impl->plot->axisRect()->rect().translated(m_impl->plot->pos());
}

void ChartView::clearTitle() {
    m_impl->titleLines.clear();
    m_impl->title->setText(QString());
    m_impl->scheduleRedraw();
}

void ChartView::addTitleLine(const QString& line) {
    m_impl->titleLines.append(line);
    m_impl->title->setText(m_impl->titleLines.join(QLatin1Char('\n')));
    m_impl->scheduleRedraw();
}

QStringList ChartView::titleLines() const {
    return m_impl->titleLines;
}

QColor ChartView::panelColor() const {
    return m_impl->panelColour;
}

void ChartView::setPanelColor(const QColor& colour) {
    m_impl->panelColour = colour;
    m_impl->plot->setBackground(colour);
    for (const auto& marks : m_impl->marks) {
        if (marks) {
            marks->setBackground(colour);
        }
    }
    m_impl->scheduleRedraw();
}

void ChartView::applyLayout(const vtl::TopRowLayout& layout) {
    resize(layout.chartWidth, layout.chartHeight);
    metresLabel()->move(metresLabel()->x(), layout.unitLabelsTop);
    secondsLabel()->move(layout.rightLabelsLeft, layout.unitLabelsTop);
    climbLabel()->move(layout.rightLabelsLeft, climbLabel()->y());
}

QLabel* ChartView::metresLabel() const {
    return m_impl->metres;
}

QLabel* ChartView::secondsLabel() const {
    return m_impl->seconds;
}

QLabel* ChartView::climbLabel() const {
    return m_impl->climb;
}

QLineEdit* ChartView::setupOkIndicator() const {
    return m_impl->setupOk;
}

void ChartView::flush() {
    m_impl->redraw();
}

QImage ChartView::renderImage() {
    flush();
    // The plot paints from the buffers the redraw just filled; the overlays come with it.
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    render(&image);
    return image;
}

QRect ChartView::printArea(const QRect& page, const QMarginsF& marginsPercent) {
    const QRectF area(page.left() + page.width() * marginsPercent.left() / 100,
                      page.top() + page.height() * marginsPercent.top() / 100,
                      page.width() * (100 - marginsPercent.left() - marginsPercent.right()) / 100,
                      page.height() * (100 - marginsPercent.top() - marginsPercent.bottom()) / 100);
    return area.isValid() ? area.toRect() : QRect();
}

bool ChartView::print(QPaintDevice& device, const QRect& target) {
    if (target.isEmpty()) {
        return true;
    }
    flush();
    // Lay the chart out in on-screen pixels for the target's size, then stretch it onto the
    // device: a 1200 dpi page gets the same texts and lines as the screen, only finer.
    const double dotsPerPixelX = double(device.logicalDpiX()) / logicalDpiX();
    const double dotsPerPixelY = double(device.logicalDpiY()) / logicalDpiY();
    const int width = std::max(1, static_cast<int>(std::lround(target.width() / dotsPerPixelX)));
    const int height = std::max(1, static_cast<int>(std::lround(target.height() / dotsPerPixelY)));
    QCPPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.setMode(QCPPainter::pmNonCosmetic); // hairlines would vanish on a fine printer
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / width, double(target.height()) / height);
    m_impl->plot->toPainter(&painter, width, height);
    // The texts that lie on the chart as widgets of their own ("[m]", "[sek]", "dh/dt"), so that
    // the printout carries what the picture shows. Each keeps its distance to the nearer edges,
    // as the main window's layout places them. The labels are drawn as text: a printer would get
    // a widget's rendering as an image, which no reader of the file finds words in.
    const auto placeOnPage = [this, width, height](const QRect& place) {
        const int x = place.center().x() < this->width() / 2
                          ? place.left()
                          : width - (this->width() - place.left());
        const int y = place.center().y() < this->height() / 2
                          ? place.top()
                          : height - (this->height() - place.top());
        return QRect(QPoint(x, y), place.size());
    };
    for (const QLabel* label : {m_impl->metres, m_impl->seconds, m_impl->climb}) {
        if (label->isVisibleTo(this)) {
            painter.setFont(label->font());
            painter.setPen(label->palette().color(QPalette::WindowText));
            painter.drawText(placeOnPage(label->geometry()), static_cast<int>(label->alignment()),
                             label->text());
        }
    }
    if (m_impl->setupOk->isVisibleTo(this)) {
        m_impl->setupOk->render(&painter, placeOnPage(m_impl->setupOk->geometry()).topLeft(),
                                QRegion(), QWidget::DrawChildren);
    }
    painter.end();
    // The plot keeps the print layout until it is laid out again for the screen.
    m_impl->redraw();
    return true;
}

bool ChartView::printTo(QPrinter& printer, const QMarginsF& marginsPercent) {
    return print(printer,
                 printArea(QRect(0, 0, printer.width(), printer.height()), marginsPercent));
}

QString ChartView::formatValue(double value, const QString& pattern) {
    return vtl::chart::formatValue(value, pattern);
}

void ChartView::resizeEvent(QResizeEvent* event) {
    m_impl->plot->setGeometry(rect());
    QWidget::resizeEvent(event);
}
