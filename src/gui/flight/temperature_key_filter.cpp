// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/flight/temperature_key_filter.h"

#include "core/flight/temperature_entry.h"

#include <QKeyEvent>
#include <QLineEdit>

TemperatureKeyFilter::TemperatureKeyFilter(QLineEdit& current, QLineEdit& comparison,
                                           Entered entered)
    : QObject(&current), m_current(current), m_comparison(comparison),
      m_entered(std::move(entered)) {
    m_current.installEventFilter(this);
    m_comparison.installEventFilter(this);
}

bool TemperatureKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const bool current = watched == &m_current;
    if ((!current && watched != &m_comparison) || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    auto* field = static_cast<QLineEdit*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || field->isReadOnly()) {
        return QObject::eventFilter(watched, event); // navigation keys and read-only fields
    }
    const char character = text[0].unicode() < 0x80 ? static_cast<char>(text[0].unicode()) : 0;
    const char typed = key->key() == Qt::Key_Enter ? '\r' : character;
    if (!vtl::temperatureKeyPasses(typed, static_cast<size_t>(field->text().size()))) {
        return true;
    }
    if (typed == '\r') {
        m_entered(current ? vtl::FlightRole::Current : vtl::FlightRole::Comparison,
                  field->text().toStdString());
        return true;
    }
    return false;
}
