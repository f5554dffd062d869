#include "chart/chart_view.h"

#include <qcustomplot.h>

#include <QEasingCurve>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QTimer>
#include <QVariantAnimation>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

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
const QString kInitialTitle = QStringLiteral("            Wysokosc / Altitude");

const QString kLeftPattern = QStringLiteral("#,##0.# ");
const QString kRightPattern = QStringLiteral("#,##0.##");
const QString kAltitudeMarksPattern = QStringLiteral("#,####.##");
const QString kComparisonMarksPattern = QStringLiteral("#,###0.###");

constexpr int kDragThreshold = 3;    // pixels a press may move and still count as a click
constexpr int kMinimumZoomSize = 16; // smaller rectangles are taken as a slip of the hand
constexpr double kClickTolerance = 4.0;
constexpr int kZoomAnimationMs = 150;
constexpr double kWheelZoomFactor = 0.85; // per wheel notch
constexpr int kAltitudeCallout = 20;      // marks above the altitude curve...
constexpr int kComparisonCallout = -28;   // ...and below the comparison curve

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

double axisLength(const QCPAxis* axis) {
    const QRect area = axis->axisRect()->rect();
    const int length = axis->orientation() == Qt::Horizontal ? area.width() : area.height();
    if (length > 0) {
        return length;
    }
    // Before the first layout the axis rect is empty; the widget's extent is close enough.
    const QRect viewport = axis->parentPlot()->viewport();
    return std::max(100,
                    axis->orientation() == Qt::Horizontal ? viewport.width() : viewport.height());
}

// The smallest of base × 1, 2, 5, 10, 20, 50 … that is not below the minimum step.
double niceStep(double base, double minimumStep) {
    for (double decade = 1; decade < 1e12; decade *= 10) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (base * factor * decade >= minimumStep) {
                return base * factor * decade;
            }
        }
    }
    return minimumStep;
}

// Ticks at the points' text labels (the elapsed seconds). Where the labels would overlap, only
// every 2nd, 5th, 10th … labelled point keeps its tick, counted from the first labelled point,
// so the labels stay evenly spaced and do not jump while scrolling.
class TimeLabelTicker : public QCPAxisTicker {
public:
    void setAxis(QCPAxis* axis) { m_axis = axis; }
    void setMinorCount(int count) { m_minorCount = count; }

    void setLabels(const std::vector<QString>* labels, int count) {
        m_labels = labels;
        m_count = count;
        m_first = -1;
        m_period = 1;
        for (int i = 0; i < m_count; ++i) {
            if (!(*m_labels)[i].isEmpty()) {
                if (m_first < 0) {
                    m_first = i;
                } else {
                    m_period = i - m_first;
                    break;
                }
            }
        }
    }

    const QVector<double>& lastMinorTicks() const { return m_lastMinorTicks; }

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks,
                  QVector<QString>* tickLabels) override {
        QCPAxisTicker::generate(range, locale, formatChar, precision, ticks, subTicks, tickLabels);
        m_lastMinorTicks = subTicks ? *subTicks : QVector<double>();
    }

protected:
    double getTickStep(const QCPRange& range) override {
        if (m_first < 0 || !m_axis) {
            return 1;
        }
        // Rotated labels take their line height along the axis, plus 20 percent between them.
        const double spacing = QFontMetrics(m_axis->tickLabelFont()).height() * 1.2;
        return niceStep(m_period, range.size() * spacing / axisLength(m_axis));
    }

    int getSubTickCount(double) override { return std::max(0, m_minorCount); }

    QVector<double> createTickVector(double tickStep, const QCPRange& range) override {
        QVector<double> ticks;
        // A view zoomed out far beyond the data has no labelled point worth a tick.
        if (m_first < 0 || tickStep > 1e9) {
            return ticks;
        }
        const auto stride = static_cast<long long>(std::llround(tickStep));
        const auto firstStep = static_cast<long long>(std::floor((range.lower - m_first) / stride));
        const auto lastStep = static_cast<long long>(std::ceil((range.upper - m_first) / stride));
        for (long long step = firstStep; step <= lastStep; ++step) {
            const long long index = m_first + step * stride;
            if (index >= 0 && index < m_count && !(*m_labels)[index].isEmpty()) {
                ticks.append(static_cast<double>(index));
            }
        }
        return ticks;
    }

    QVector<QString> createLabelVector(const QVector<double>& ticks, const QLocale&, QChar,
                                       int) override {
        QVector<QString> labels;
        labels.reserve(ticks.size());
        for (const double tick : ticks) {
            labels.append((*m_labels)[static_cast<std::size_t>(tick)]);
        }
        return labels;
    }

private:
    QCPAxis* m_axis = nullptr;
    const std::vector<QString>* m_labels = nullptr;
    int m_count = 0;
    int m_first = -1;
    int m_period = 1;
    int m_minorCount = 0;
    QVector<double> m_lastMinorTicks;
};

// Value labels as dense as their height allows, at a multiple of the desired increment (or of
// the pattern's finest digit, when the axis chooses), formatted with the axis' number pattern.
class ValueTicker : public QCPAxisTicker {
public:
    ValueTicker(QString pattern, double resolution, double separation)
        : m_pattern(std::move(pattern)), m_resolution(resolution), m_separation(separation) {}

    void setAxis(QCPAxis* axis) { m_axis = axis; }
    void setIncrement(double increment) { m_increment = increment; }

protected:
    double getTickStep(const QCPRange& range) override {
        const double spacing =
            QFontMetrics(m_axis->tickLabelFont()).height() * (1.0 + m_separation);
        const double minimumStep = range.size() * spacing / axisLength(m_axis);
        return niceStep(m_increment > 0 ? m_increment : m_resolution, minimumStep);
    }

    int getSubTickCount(double) override { return 0; }

    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        return ChartView::formatValue(tick, m_pattern);
    }

private:
    QCPAxis* m_axis = nullptr;
    QString m_pattern;
    double m_resolution;
    double m_separation;
    double m_increment = 0;
};

// The value of each point beside it, drawn only for the points in view and skipping a mark that
// would overlap the previous one, so a curve of thousands of points stays quick to draw.
class ValueMarks : public QCPLayerable {
public:
    ValueMarks(QCustomPlot* plot, QCPGraph* graph, QString pattern, int callout)
        : QCPLayerable(plot, QStringLiteral("marks")), m_graph(graph),
          m_pattern(std::move(pattern)), m_callout(callout),
          m_font(pixelFont(QStringLiteral("Arial"), 11)), m_metrics(m_font) {
        setVisible(false);
        for (std::size_t c = 0; c < m_advances.size(); ++c) {
            m_advances[c] = m_metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
        }
        m_widestDigit = *std::max_element(m_advances.begin() + '0', m_advances.begin() + '9' + 1);
    }

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override {
        applyAntialiasingHint(painter, mAntialiased, QCP::aeItems);
    }

    void draw(QCPPainter* painter) override {
        const auto data = m_graph->data();
        if (data->isEmpty() || !m_graph->visible()) {
            return;
        }
        const QCPAxis* keyAxis = m_graph->keyAxis();
        const QCPAxis* valueAxis = m_graph->valueAxis();
        const QRect area = keyAxis->axisRect()->rect();
        const int first = std::max(0, static_cast<int>(std::ceil(keyAxis->range().lower)));
        const int last =
            std::min(data->size() - 1, static_cast<int>(std::floor(keyAxis->range().upper)));
        const double height = m_metrics.height();
        painter->setFont(m_font);
        painter->setPen(Qt::black);
        QRectF previous; // the last mark drawn, widened by the gap kept between marks
        for (int i = first; i <= last; ++i) {
            const double value = (data->constBegin() + i)->value;
            const double x = keyAxis->coordToPixel(i);
            const double y = valueAxis->coordToPixel(value);
            if (y < area.top() || y > area.bottom()) {
                continue;
            }
            const double top = m_callout >= 0 ? y - m_callout - height : y - m_callout;
            const bool sameRow =
                !previous.isNull() && top < previous.bottom() && top + height > previous.top();
            // Neighbouring values differ in a digit or two at most, so a mark this close to the
            // previous one at the same height would overlap it: skip it before formatting.
            if (sameRow && x - (previous.width() / 2 - 2 * m_widestDigit) <= previous.right()) {
                continue;
            }
            const QString text = ChartView::formatValue(value, m_pattern);
            if (text.isEmpty()) {
                continue;
            }
            const double width = textWidth(text);
            const QRectF box(x - width / 2, top, width, height);
            if (sameRow && box.intersects(previous)) {
                continue;
            }
            painter->drawLine(QPointF(x, y), QPointF(x, m_callout >= 0 ? box.bottom() : top));
            painter->drawText(box, Qt::AlignCenter | Qt::TextDontClip, text);
            previous = box.adjusted(-kGap, 0, kGap, 0);
        }
    }

private:
    static constexpr double kGap = 3;

    // Digits and separators from a table: shaping every candidate text would dominate drawing.
    double textWidth(const QString& text) const {
        double width = 0;
        for (const QChar c : text) {
            width += c.unicode() < m_advances.size() ? m_advances[c.unicode()]
                                                     : m_metrics.horizontalAdvance(c);
        }
        return width;
    }

    QCPGraph* m_graph;
    QString m_pattern;
    int m_callout;
    QFont m_font;
    QFontMetricsF m_metrics;
    std::array<double, 128> m_advances{};
    double m_widestDigit = 0;
};

struct SeriesBuffer {
    std::vector<double> values;
    std::vector<QString> labels;
    // Extremes of the first page, the part the axes scale to.
    double pageMinimum = std::numeric_limits<double>::infinity();
    double pageMaximum = -std::numeric_limits<double>::infinity();
    bool transferred = true;

    int pageCount() const {
        return static_cast<int>(std::min<std::size_t>(values.size(), ChartView::kPointsPerPage));
    }
    bool hasPageData() const { return pageMinimum <= pageMaximum; }
};

struct Ranges {
    QCPRange bottom, left, right;
};

QCPRange interpolate(const QCPRange& from, const QCPRange& to, double t) {
    return QCPRange(from.lower + (to.lower - from.lower) * t,
                    from.upper + (to.upper - from.upper) * t);
}

QCPRange scaledAbout(const QCPRange& range, double centre, double factor) {
    return QCPRange(centre + (range.lower - centre) * factor,
                    centre + (range.upper - centre) * factor);
}

} // namespace

struct ChartView::Impl {
    explicit Impl(ChartView& owner);

    ChartView& view;
    QCustomPlot* plot;
    QCPAxis* bottom;
    QCPAxis* left;
    QCPAxis* right;
    QCPTextElement* title;
    QCPItemRect* rubberBand;
    QVariantAnimation* animation;
    QSharedPointer<TimeLabelTicker> timeTicker = QSharedPointer<TimeLabelTicker>::create();
    QSharedPointer<ValueTicker> leftTicker =
        QSharedPointer<ValueTicker>::create(kLeftPattern, 0.1, 0.15);
    QSharedPointer<ValueTicker> rightTicker =
        QSharedPointer<ValueTicker>::create(kRightPattern, 0.01, 0.1);
    std::array<QCPGraph*, kSeriesCount> graphs{};
    std::array<ValueMarks*, kSeriesCount> marks{};
    std::array<SeriesBuffer, kSeriesCount> buffers;
    QStringList titleLines{kInitialTitle};
    QColor panelColour = kPanelColour;

    bool leftAutomaticMinimum = true;
    bool leftAutomaticMaximum = true;
    double leftManualMinimum = 0;
    double leftManualMaximum = 0;
    int minorTickCount = 0;

    // Set while the view is zoomed or scrolled; otherwise each axis scales as configured.
    std::optional<Ranges> zoom;
    Ranges animationStart;
    Ranges animationTarget;
    bool redrawQueued = false;

    Qt::MouseButton dragButton = Qt::NoButton;
    QPoint pressPos;
    QPoint lastPos;
    bool dragged = false;

    QLabel* metres;
    QLabel* seconds;
    QLabel* climb;
    QLineEdit* setupOk;

    void buildAxes();
    void buildSeries();
    void buildLayout();
    void buildOverlays();

    void scheduleRedraw();
    void redraw();
    void applyRanges();
    Ranges currentRanges() const;
    QCPRange bottomRange() const;
    QCPRange leftRange() const;
    QCPRange rightRange() const;
    void dropLeftZoom();
    void animateZoom(const Ranges& target);

    void mousePress(const QMouseEvent& event);
    void mouseMove(const QMouseEvent& event);
    void mouseRelease(const QMouseEvent& event);
    void wheel(const QWheelEvent& event);
    void click(const QPoint& pos);
};

ChartView::Impl::Impl(ChartView& owner)
    : view(owner), plot(new QCustomPlot(&owner)), bottom(plot->xAxis), left(plot->yAxis),
      right(plot->yAxis2), title(new QCPTextElement(plot)), rubberBand(new QCPItemRect(plot)),
      animation(new QVariantAnimation(&owner)) {
    plot->setObjectName(QStringLiteral("chartPlot"));
    plot->setBackground(panelColour);
    plot->setPlottingHints(QCP::phCacheLabels | QCP::phFastPolylines);
    plot->addLayer(QStringLiteral("marks"), plot->layer(QStringLiteral("main")),
                   QCustomPlot::limAbove);
    buildAxes();
    buildSeries();
    buildLayout();
    buildOverlays();

    rubberBand->setLayer(QStringLiteral("overlay"));
    rubberBand->setClipToAxisRect(false);
    rubberBand->topLeft->setType(QCPItemPosition::ptAbsolute);
    rubberBand->bottomRight->setType(QCPItemPosition::ptAbsolute);
    rubberBand->setPen(QPen(Qt::blue));
    rubberBand->setBrush(Qt::NoBrush);
    rubberBand->setVisible(false);

    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(kZoomAnimationMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    QObject::connect(
        animation, &QVariantAnimation::valueChanged, &view, [this](const QVariant& value) {
            const double t = value.toDouble();
            zoom = Ranges{interpolate(animationStart.bottom, animationTarget.bottom, t),
                          interpolate(animationStart.left, animationTarget.left, t),
                          interpolate(animationStart.right, animationTarget.right, t)};
            redraw();
        });
    QObject::connect(animation, &QVariantAnimation::finished, &view, [this] {
        zoom = animationTarget;
        redraw();
        emit view.OnZoom();
    });
}

void ChartView::Impl::buildAxes() {
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
        QCPGraph* graph = plot->addGraph(bottom, style.onRightAxis ? right : left);
        graph->setName(QString::fromUtf8(style.title));
        graph->setPen(QPen(QColor(style.colour), style.width, style.line));
        graph->setLineStyle(QCPGraph::lsLine);
        graph->setScatterStyle(QCPScatterStyle::ssNone);
        graphs[s] = graph;
    }
    // The reserved filter series exists but is never drawn nor listed.
    graphs[Series4]->setVisible(false);
    graphs[Series4]->removeFromLegend();
    marks[Series1] = new ValueMarks(plot, graphs[Series1], kAltitudeMarksPattern, kAltitudeCallout);
    marks[Series3] =
        new ValueMarks(plot, graphs[Series3], kComparisonMarksPattern, kComparisonCallout);
}

void ChartView::Impl::buildLayout() {
    // Title above, the axes in the middle and the legend in a column on the right, its top at
    // 15 percent of the height.
    QCPLayoutGrid* layout = plot->plotLayout();
    layout->setAutoMargins(QCP::msNone);
    layout->setMargins(QMargins(5, 0, 0, 30));
    layout->setRowSpacing(0);
    layout->setColumnSpacing(4);

    title->setText(titleLines.join(QLatin1Char('\n')));
    title->setFont(pixelFont(QStringLiteral("Arial"), 13, true));
    title->setTextColor(Qt::black);
    title->setTextFlags(Qt::AlignLeft | Qt::AlignVCenter);
    title->setMargins(QMargins(0, 2, 0, 2));
    layout->insertRow(0);
    layout->addElement(0, 0, title);

    QCPLegend* legend = plot->legend;
    plot->axisRect()->insetLayout()->take(legend);
    legend->setVisible(true);
    legend->setFont(pixelFont(QStringLiteral("Arial"), 11));
    legend->setMargins(QMargins(4, 3, 4, 3));
    auto* legendColumn = new QCPLayoutGrid;
    layout->addElement(1, 1, legendColumn);
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
    timeTicker->setLabels(&buffers[Series1].labels, buffers[Series1].pageCount());
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
    return QCPRange(0, std::max(1, count - 1));
}

QCPRange ChartView::Impl::leftRange() const {
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();
    for (const Series s : {Series1, Series3, Series5, Series6}) {
        minimum = std::min(minimum, buffers[s].pageMinimum);
        maximum = std::max(maximum, buffers[s].pageMaximum);
    }
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

void ChartView::Impl::animateZoom(const Ranges& target) {
    if (animation->state() == QAbstractAnimation::Running) {
        animation->stop();
    }
    animationStart = currentRanges();
    animationTarget = target;
    if (!view.isVisible()) {
        zoom = target;
        redraw();
        emit view.OnZoom();
        return;
    }
    animation->start();
}

void ChartView::Impl::mousePress(const QMouseEvent& event) {
    if (dragButton != Qt::NoButton ||
        (event.button() != Qt::LeftButton && event.button() != Qt::RightButton)) {
        return;
    }
    if (redrawQueued) {
        redraw(); // hit tests and pixel arithmetic need the chart as it will be seen
    }
    dragButton = event.button();
    pressPos = lastPos = event.position().toPoint();
    dragged = false;
}

void ChartView::Impl::mouseMove(const QMouseEvent& event) {
    if (dragButton == Qt::NoButton) {
        return;
    }
    const QPoint pos = event.position().toPoint();
    if (!dragged && (pos - pressPos).manhattanLength() <= kDragThreshold) {
        return;
    }
    dragged = true;
    if (dragButton == Qt::LeftButton) {
        rubberBand->topLeft->setCoords(pressPos);
        rubberBand->bottomRight->setCoords(pos);
        rubberBand->setVisible(true);
        rubberBand->layer()->replot();
        return;
    }
    // Scrolling moves every axis by the distance the pointer moved.
    Ranges ranges = currentRanges();
    const auto shift = [](QCPRange& range, const QCPAxis* axis, int from, int to) {
        range += axis->pixelToCoord(from) - axis->pixelToCoord(to);
    };
    shift(ranges.bottom, bottom, lastPos.x(), pos.x());
    shift(ranges.left, left, lastPos.y(), pos.y());
    shift(ranges.right, right, lastPos.y(), pos.y());
    lastPos = pos;
    zoom = ranges;
    scheduleRedraw();
}

void ChartView::Impl::mouseRelease(const QMouseEvent& event) {
    if (event.button() != dragButton) {
        return;
    }
    dragButton = Qt::NoButton;
    if (event.button() != Qt::LeftButton) {
        return;
    }
    if (rubberBand->visible()) {
        rubberBand->setVisible(false);
        rubberBand->layer()->replot();
    }
    const QPoint pos = event.position().toPoint();
    if (!dragged) {
        click(pos);
        return;
    }
    // Dragging down and to the right zooms in; dragging back up or left undoes the zoom.
    const QPoint distance = pos - pressPos;
    if (distance.x() >= kMinimumZoomSize && distance.y() >= kMinimumZoomSize) {
        view.zoomToRect(QRect(pressPos, pos));
    } else if (distance.x() < 0 || distance.y() < 0) {
        view.UndoZoom();
    }
}

void ChartView::Impl::wheel(const QWheelEvent& event) {
    const double notches = event.angleDelta().y() / 120.0;
    if (notches == 0) {
        return;
    }
    if (redrawQueued) {
        redraw();
    }
    const double factor = std::pow(kWheelZoomFactor, notches);
    const QPointF pos = event.position();
    Ranges ranges = currentRanges();
    ranges.bottom = scaledAbout(ranges.bottom, bottom->pixelToCoord(pos.x()), factor);
    ranges.left = scaledAbout(ranges.left, left->pixelToCoord(pos.y()), factor);
    ranges.right = scaledAbout(ranges.right, right->pixelToCoord(pos.y()), factor);
    animation->stop();
    zoom = ranges;
    redraw();
    // The window reacts to a wheel zoom as to a rectangle: fine time steps get a minor grid.
    emit view.OnZoom();
}

void ChartView::Impl::click(const QPoint& pos) {
    if (plot->legend->visible() && plot->legend->selectTest(pos, false) >= 0) {
        emit view.OnClickLegend();
        return;
    }
    int nearest = -1;
    double nearestDistance = kClickTolerance;
    for (int s = 0; s < kSeriesCount; ++s) {
        QCPGraph* graph = graphs[s];
        if (!graph->visible() || graph->data()->isEmpty()) {
            continue;
        }
        const double distance = graph->selectTest(pos, false);
        if (distance >= 0 && distance <= nearestDistance) {
            nearest = s;
            nearestDistance = distance;
        }
    }
    if (nearest >= 0) {
        emit view.OnClickSeries(static_cast<Series>(nearest));
    }
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
    if (ValueMarks* marks = m_impl->marks[series]) {
        marks->setVisible(visible);
        m_impl->scheduleRedraw();
    }
}

bool ChartView::marksVisible(Series series) const {
    const ValueMarks* marks = m_impl->marks[series];
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

void ChartView::UndoZoom() {
    m_impl->animation->stop();
    m_impl->zoom.reset();
    m_impl->applyRanges();
    m_impl->scheduleRedraw();
    emit OnUndoZoom();
}

void ChartView::zoomToRect(const QRect& rect) {
    if (m_impl->redrawQueued) {
        m_impl->redraw();
    }
    const QRect area = rect.normalized() & plotArea();
    if (area.width() < 2 || area.height() < 2) {
        return;
    }
    const auto span = [](const QCPAxis* axis, int from, int to) {
        return QCPRange(axis->pixelToCoord(from), axis->pixelToCoord(to));
    };
    m_impl->animateZoom(Ranges{span(m_impl->bottom, area.left(), area.right()),
                               span(m_impl->left, area.bottom(), area.top()),
                               span(m_impl->right, area.bottom(), area.top())});
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
    m_impl->scheduleRedraw();
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

QString ChartView::formatValue(double value, const QString& pattern) {
    const int point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPattern = point < 0 ? pattern : pattern.left(point);
    const QString fractionPattern = point < 0 ? QString() : pattern.mid(point + 1);
    const int minimumIntegerDigits = static_cast<int>(integerPattern.count(QLatin1Char('0')));
    const bool grouped = integerPattern.contains(QLatin1Char(','));
    int maximumDecimals = 0;
    int minimumDecimals = 0;
    while (maximumDecimals < fractionPattern.size() &&
           (fractionPattern[maximumDecimals] == QLatin1Char('0') ||
            fractionPattern[maximumDecimals] == QLatin1Char('#'))) {
        if (fractionPattern[maximumDecimals++] == QLatin1Char('0')) {
            minimumDecimals = maximumDecimals;
        }
    }
    const QString suffix = fractionPattern.mid(maximumDecimals);

    const QString digits = QString::number(std::fabs(value), 'f', maximumDecimals);
    const int digitsPoint = digits.indexOf(QLatin1Char('.'));
    QString integer = digitsPoint < 0 ? digits : digits.left(digitsPoint);
    QString fraction = digitsPoint < 0 ? QString() : digits.mid(digitsPoint + 1);
    while (fraction.size() > minimumDecimals && fraction.endsWith(QLatin1Char('0'))) {
        fraction.chop(1);
    }
    const bool zero =
        integer == QLatin1String("0") && std::all_of(fraction.begin(), fraction.end(),
                                                     [](QChar c) { return c == QLatin1Char('0'); });
    if (integer == QLatin1String("0") && minimumIntegerDigits == 0) {
        integer.clear();
    }
    while (integer.size() < minimumIntegerDigits) {
        integer.prepend(QLatin1Char('0'));
    }
    const QLocale locale;
    if (grouped) {
        for (auto i = integer.size() - 3; i > 0; i -= 3) {
            integer.insert(i, locale.groupSeparator());
        }
    }
    if (integer.isEmpty() && fraction.isEmpty()) {
        return QString();
    }
    QString text = (value < 0 && !zero) ? QStringLiteral("-") : QString();
    text += integer;
    if (!fraction.isEmpty()) {
        text += locale.decimalPoint() + fraction;
    }
    return text + suffix;
}

bool ChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_impl->plot) {
        return QWidget::eventFilter(watched, event);
    }
    // The plot's own mouse handling is replaced by the chart's gestures.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_impl->mousePress(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        m_impl->mouseMove(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        m_impl->mouseRelease(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::Wheel:
        m_impl->wheel(*static_cast<QWheelEvent*>(event));
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void ChartView::resizeEvent(QResizeEvent* event) {
    m_impl->plot->setGeometry(rect());
    QWidget::resizeEvent(event);
}
