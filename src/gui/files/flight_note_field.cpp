// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/flight_note_field.h"

#include "core/files/flight_notes.h"
#include "core/shell/prompter.h"
#include "core/shell/text_tables.h"
#include "gui/files/flight_log_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

bool sameFile(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() &&
           QFileInfo(QString::fromStdString(a)).absoluteFilePath() ==
               QFileInfo(QString::fromStdString(b)).absoluteFilePath();
}

} // namespace

FlightNoteField::FlightNoteField(vtl::Prompter& prompter, const vtl::Language& language,
                                 QWidget* parent)
    : QWidget(parent), m_prompter(prompter), m_language(language) {
    setObjectName(QStringLiteral("FlightNoteField"));
    m_label = new QLabel(this);
    m_editor = new QLineEdit(this);
    m_editor->setObjectName(QStringLiteral("E_Uwagi"));
    m_label->setBuddy(m_editor);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    layout->addWidget(m_editor, 1);
    connect(m_editor, &QLineEdit::editingFinished, this, &FlightNoteField::write);
    applyLanguage();
    setFlightFile(std::string());
}

void FlightNoteField::applyLanguage() {
    m_label->setText(
        QString::fromStdString(vtl::caption(vtl::FlightLogCaption::NoteLabel, m_language)));
    showStored();
}

void FlightNoteField::setFlightFile(const std::string& path) {
    m_file = path;
    read();
    showStored();
}

void FlightNoteField::rereadFor(const std::string& flightPath) {
    if (sameFile(flightPath, m_file)) {
        read();
        showStored();
    }
}

void FlightNoteField::followLog(FlightLogWindow& log) {
    connect(&log, &FlightLogWindow::noteWritten, this, &FlightNoteField::rereadFor);
    connect(this, &FlightNoteField::noteWritten, &log, &FlightLogWindow::showNoteOf);
}

void FlightNoteField::read() {
    m_note.clear();
    m_stale = false;
    m_readError.clear();
    if (m_file.empty()) {
        return;
    }
    try {
        if (const std::optional<vtl::FoundNote> found = vtl::readFlightNote(m_file)) {
            m_note = found->text;
            m_stale = found->stale;
        }
    } catch (const vtl::FlightNotesError& error) {
        m_readError = error.text(m_language);
    }
}

// A stale note is greyed and slanted, with a tooltip saying whose it is, until it is written anew.
void FlightNoteField::showStored() {
    const bool hasFile = !m_file.empty();
    m_editor->setEnabled(hasFile);
    m_editor->setText(QString::fromStdString(m_note));
    m_editor->setCursorPosition(0);
    m_editor->setPlaceholderText(hasFile ? QString()
                                         : QString::fromStdString(vtl::caption(
                                               vtl::FlightLogCaption::NoteNoFileHint, m_language)));
    QFont font = m_editor->font();
    font.setItalic(m_stale);
    m_editor->setFont(font);
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Text, m_stale ? QColor(Qt::gray) : QPalette().color(QPalette::Text));
    m_editor->setPalette(palette);
    QString tip;
    if (!m_readError.empty()) {
        tip = QString::fromStdString(m_readError);
    } else if (m_stale) {
        tip =
            QString::fromStdString(vtl::caption(vtl::FlightLogCaption::NoteStaleHint, m_language));
    } else if (hasFile) {
        tip = QString::fromStdString(m_file);
    }
    m_editor->setToolTip(tip);
}

void FlightNoteField::write() {
    const std::string typed = m_editor->text().toStdString();
    // Leaving a stale note untouched keeps it the earlier version's.
    if (m_file.empty() || !m_editor->isModified() || (typed == m_note && !m_stale)) {
        return;
    }
    m_editor->setModified(false);
    try {
        vtl::writeFlightNote(m_file, typed);
    } catch (const vtl::FlightNotesError& error) {
        // The stored note comes back before the message, so that leaving the field for the
        // message box does not write again.
        showStored();
        m_prompter.showMessage(error.text(m_language),
                               vtl::message(vtl::Message::ErrorCaption, m_language),
                               vtl::PromptButtons::Ok);
        return;
    }
    read();
    showStored();
    emit noteWritten(m_file);
}
