// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"

#include <QObject>

#include <functional>
#include <string>

class QLineEdit;

// The panels' temperature fields take digits (three at most), '-' and the usual editing keys, and
// no character that cannot be part of a temperature; Enter hands the typed text on, for the flight
// to be redrawn at it.
class TemperatureKeyFilter : public QObject {
public:
    using Entered = std::function<void(vtl::FlightRole role, const std::string& typed)>;

    TemperatureKeyFilter(QLineEdit& current, QLineEdit& comparison, Entered entered);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit& m_current;
    QLineEdit& m_comparison;
    Entered m_entered;
};
