// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/decimal_text.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace vtl {
struct TopRowLayout;
}
class QEvent;
class QLabel;
class QLineEdit;
class QPaintDevice;
class QPrinter;
class QResizeEvent;

// The main window's chart: six line series over a time axis of point labels, an altitude axis on
// the left and a dh/dt axis on the right. Points are added one by one and buffered; the chart is
// redrawn once when control returns to the event loop. Only this class (and the chart_* files
// that implement it) knows the plotting library behind it.
class ChartView : public QWidget {
    Q_OBJECT
public:
    enum Series { Series1, Series2, Series3, Series4, Series5, Series6 };
    Q_ENUM(Series)
    static constexpr int kSeriesCount = 6;
    static constexpr int kPointsPerPage = 10000;

    explicit ChartView(QWidget* parent = nullptr);
    ~ChartView() override;

    // Series operations.
    void Clear(Series series);
    // Appends a point whose x value is its index. Every line is drawn in its series' colour; the
    // colour argument (the dh/dt series passes its own blue) changes nothing.
    int Add(Series series, double value, const QString& label,
            std::optional<QColor> colour = std::nullopt);
    void SetTitle(Series series, const QString& title);
    QString title(Series series) const;
    void setMarksVisible(Series series, bool visible);
    // How the marks of the series round its altitudes: as its flight's panel does.
    void setMarksRounding(Series series, vtl::AltitudeRounding rounding);
    vtl::AltitudeRounding marksRounding(Series series) const;
    bool marksVisible(Series series) const;
    void Repaint(Series series);
    int pointCount(Series series) const;
    double pointValue(Series series, int index) const;
    QString pointLabel(Series series, int index) const;
    bool isActive(Series series) const;

    // Left (altitude) axis.
    void leftSetMinimum(double value);
    void leftSetMaximum(double value);
    void leftSetAutomatic(bool automatic);
    void leftSetAutomaticMaximum(bool automatic);
    void leftSetAutomaticMinimum(bool automatic);
    void leftSetDesiredIncrement(double increment);
    double leftMinimum() const; // the range as drawn, after automatic scaling
    double leftMaximum() const;

    // Bottom (time) axis.
    void bottomSetMinorTickCount(int count);
    int bottomMinorTickCount() const;
    void bottomSetMinorGridVisible(bool visible);
    bool bottomMinorGridVisible() const;
    double bottomMinimum() const;
    double bottomMaximum() const;
    // Texts of the labelled ticks and positions of the minor ticks at the last redraw.
    QStringList bottomAxisLabels() const;
    std::vector<double> bottomMinorTicks() const;

    // The labelled ticks of the time or the altitude axis as the last layout placed them, on
    // screen, for the picture or for a printout: each tick's position along the axis in that
    // layout's pixels, its text, and the labels' font.
    enum LabelledAxis { BottomAxis, LeftAxis };
    struct AxisLabels {
        QFont font;
        std::vector<double> positions;
        QStringList texts;
    };
    AxisLabels axisLabels(LabelledAxis axis) const;

    // A value mark as the last layout placed it, in that layout's pixels: its text, the text's
    // box, and the callout from the box's edge to the point, with its arrow head at the point
    // filled in the callout's brush colour.
    struct ValueMark {
        QString text;
        QRectF box;
        QPointF calloutStart;
        QPointF point;
        bool arrowHead = false;
        QColor calloutBrush;
    };
    std::vector<ValueMark> valueMarks(Series series) const;
    void UndoZoom();

    // Zooms all axes onto a rectangle in widget pixels, as the mouse draws it; OnZoom follows
    // once the axes show the new range (after a short animation when the chart is on screen).
    void zoomToRect(const QRect& rect);
    // The area inside the axes, in widget pixels, as laid out at the last redraw.
    QRect plotArea() const;

    // The flights of an overlay: up to eight curves over the altitude axis, each in its own colour
    // and named in the legend instead of the six series. Point i of every curve lies at x = i;
    // the time axis takes its labels from `timeLabels`. An empty list takes the overlay away.
    struct OverlayCurve {
        QString name;
        std::vector<double> metres;
    };
    void setOverlay(const std::vector<OverlayCurve>& curves,
                    const std::vector<QString>& timeLabels);
    // The colour of the overlay's curve `index` (0 to 7), so that a table can show it too.
    static QColor overlayColour(int index);

    // Two measuring cursors: vertical lines labelled "A" and "B", each standing on a point of the
    // time axis (x = point index); absent takes the line away. They are chart items, so the
    // picture and the print show them too.
    enum CursorLine { CursorA, CursorB };
    Q_ENUM(CursorLine)
    void setCursorLine(CursorLine line, std::optional<int> point);
    std::optional<int> cursorLine(CursorLine line) const;

    // Title and panel.
    void clearTitle();
    void addTitleLine(const QString& line);
    QStringList titleLines() const;
    QColor panelColor() const;
    void setPanelColor(const QColor& colour);

    // The size the layout gives the chart, with its unit labels placed along its bottom and right.
    void applyLayout(const vtl::TopRowLayout& layout);

    // Overlays placed by the main window's layout.
    QLabel* metresLabel() const;
    QLabel* secondsLabel() const;
    QLabel* climbLabel() const;
    QLineEdit* setupOkIndicator() const; // EUstawieniaOK

    // Draws any buffered points now instead of when control returns to the event loop.
    void flush();
    // Renders the chart as it is on screen.
    QImage renderImage();

    // Print margins in percent of the page: left, top, right, bottom.
    static constexpr QMarginsF kPrintMargins{5, 5, 5, 25};
    // The part of a page inside margins given in percent of the page; empty where the margins
    // leave nothing.
    static QRect printArea(const QRect& page, const QMarginsF& marginsPercent);
    // Draws the chart stretched to fill the target rectangle of the device, laid out afresh for
    // the target's size (texts keep their on-screen size relative to the device's resolution).
    // The overlays are not drawn. False when no painter could be opened on the device.
    bool print(QPaintDevice& device, const QRect& target);
    // Prints the chart as one job on the printer, stretched into the page inside the margins.
    bool printTo(QPrinter& printer, const QMarginsF& marginsPercent = kPrintMargins);

    // Formats a value the way the chart's number patterns read: '0' a required digit, '#' an
    // optional one, ',' thousands grouping, '.' the locale's decimal point, trailing text as is.
    // "#,##0.#" gives "1,234.5", "1,234" and "0"; "#.##" gives ".5" for 0.5 and "" for 0.
    static QString formatValue(double value, const QString& pattern);

signals:
    void OnClickSeries(ChartView::Series series);
    void OnClickLegend();
    void OnZoom();
    void OnUndoZoom();
    // After each layout of the chart, before it is drawn on screen, into the picture or on paper.
    void laidOut();
    // The pointer over the plot area, at a place on the time axis in points (fractional); left
    // once it leaves the plot area. Not while a button drags.
    void pointerMoved(double point);
    void pointerLeft();
    // A click with Ctrl (cursor A) or Shift (cursor B) inside the plot area, in points.
    void cursorClicked(ChartView::CursorLine line, double point);
    // Left (-1) or right (+1) pressed while the chart has the focus; with Shift, by a second.
    void cursorKey(int direction, bool bySecond);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
