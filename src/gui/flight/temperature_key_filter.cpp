// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/flight/temperature_key_filter.h"

#include "core/flight/temperature_entry.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

// Typed keys are judged one by one below; the validator keeps letters out of a pasted or dropped
// text as well.
void refuseNonTemperatureCharacters(QLineEdit& field, QObject& owner) {
    field.setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9]*")), &owner));
}

// Shortcuts (select all, copy, cut, paste, undo) and keys that type nothing (Delete, Home, End,
// the arrows) are the field's own editing.
bool isEditingKey(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier)) {
        return true;
    }
    const QString text = key.text();
    return text.size() != 1 || text[0].unicode() < 0x20 || text[0].unicode() == 0x7f;
}

} // namespace

TemperatureKeyFilter::TemperatureKeyFilter(QLineEdit& current, QLineEdit& comparison,
                                           Entered entered)
    : QObject(&current), m_current(current), m_comparison(comparison),
      m_entered(std::move(entered)) {
    for (QLineEdit* field : {&m_current, &m_comparison}) {
        field->installEventFilter(this);
        refuseNonTemperatureCharacters(*field, *this);
    }
}

bool TemperatureKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const bool current = watched == &m_current;
    if ((!current && watched != &m_comparison) || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    auto* field = static_cast<QLineEdit*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (field->isReadOnly()) {
        return QObject::eventFilter(watched, event);
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        m_entered(current ? vtl::FlightRole::Current : vtl::FlightRole::Comparison,
                  field->text().toStdString());
        return true;
    }
    if (key->key() == Qt::Key_Backspace || isEditingKey(*key)) {
        return QObject::eventFilter(watched, event);
    }
    const QChar typedChar = key->text()[0];
    const char typed = typedChar.unicode() < 0x80 ? static_cast<char>(typedChar.unicode()) : 0;
    // A typed character replaces the selection, so the selection does not count.
    const auto keptLength =
        static_cast<size_t>(field->text().size() - field->selectedText().size());
    return !vtl::temperatureKeyPasses(typed, keptLength);
}
