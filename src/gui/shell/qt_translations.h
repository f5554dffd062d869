// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <QString>
#include <QTranslator>

#include <cstdint>

namespace vtl {

// Qt's own texts (standard buttons, the file, print and printer set-up dialogs) in the program's
// language: Qt's Polish translation is installed while the language is Polish and removed for
// English, Qt's native language.
class QtTranslations {
public:
    QtTranslations() = default;
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    void follow(vtl::Language language);

    // Where Qt's Polish translation was found; empty when it is not installed, and the dialogs
    // then stay in English.
    QString polishFile() const { return m_polish.filePath(); }

private:
    QTranslator m_polish;
    bool m_installed = false;
};

} // namespace vtl
