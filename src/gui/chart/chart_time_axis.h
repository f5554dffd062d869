// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qcustomplot.h>

#include <QString>
#include <QVector>

#include <vector>

namespace vtl::chart {

// Ticks at the points' text labels (the elapsed seconds). Where the labels would overlap, only
// every 2nd, 5th, 10th … labelled point keeps its tick, counted from the first labelled point,
// so the labels stay evenly spaced and do not jump while scrolling.
class TimeLabelTicker : public QCPAxisTicker {
public:
    void setAxis(QCPAxis* axis) { m_axis = axis; }
    void setMinorCount(int count) { m_minorCount = count; }
    // The labels of the first `count` points; the vector must outlive the ticker's use of it.
    void setLabels(const std::vector<QString>* labels, int count);

    // Positions of the minor ticks at the last tick generation.
    const QVector<double>& lastMinorTicks() const { return m_lastMinorTicks; }

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks,
                  QVector<QString>* tickLabels) override;

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;
    QVector<QString> createLabelVector(const QVector<double>& ticks, const QLocale& locale,
                                       QChar formatChar, int precision) override;

private:
    QCPAxis* m_axis = nullptr;
    const std::vector<QString>* m_labels = nullptr;
    int m_count = 0;
    int m_first = -1;
    int m_period = 1;
    int m_minorCount = 0;
    QVector<double> m_lastMinorTicks;
};

} // namespace vtl::chart
