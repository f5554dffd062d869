// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/output_status.h"

#include <QLabel>

OutputStatus::OutputStatus(QLabel& line, const vtl::Language& language)
    : m_line(line), m_language(language) {}

void OutputStatus::show(vtl::Message what, const std::string& name) {
    m_what = what;
    m_name = name;
    applyLanguage();
}

void OutputStatus::clear() {
    m_what.reset();
    m_name.clear();
    applyLanguage();
}

void OutputStatus::withdraw(vtl::Message what) {
    if (m_what == what) {
        clear();
    }
}

void OutputStatus::applyLanguage() {
    if (!m_what) {
        m_line.setText(QString());
        return;
    }
    // A message says where the name goes, or it goes at the end.
    const std::string text = vtl::message(*m_what, m_language);
    m_line.setText(QString::fromStdString(text.find("%s") != std::string::npos
                                              ? vtl::messageWith(*m_what, m_name, m_language)
                                              : text + m_name));
}
