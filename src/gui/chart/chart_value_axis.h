// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qcustomplot.h>

#include <QString>

namespace vtl::chart {

// Value labels as dense as their height allows, at a multiple of the desired increment (or of
// the pattern's finest digit, when the axis chooses), formatted with the axis' number pattern.
class ValueTicker : public QCPAxisTicker {
public:
    // Separation: the gap between labels as a fraction of their height.
    ValueTicker(QString pattern, double resolution, double separation);

    void setAxis(QCPAxis* axis) { m_axis = axis; }
    void setIncrement(double increment) { m_increment = increment; }
    // Unrounded, the first label sits at the lower end of the range and the others follow at
    // whole steps from it; rounded, the labels sit at multiples of the step.
    void setRoundFirst(bool roundFirst) { m_roundFirst = roundFirst; }

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

private:
    QCPAxis* m_axis = nullptr;
    QString m_pattern;
    double m_resolution;
    double m_separation;
    double m_increment = 0;
    bool m_roundFirst = true;
};

} // namespace vtl::chart
