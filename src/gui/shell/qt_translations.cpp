// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace vtl {

QtTranslations::~QtTranslations() {
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_polish);
    }
}

// Qt's installed translations come first; a program deployed with its own Qt keeps them in a
// "translations" folder beside the executable.
void QtTranslations::follow(vtl::Language language) {
    const bool polish = language == vtl::Language::Polish;
    if (polish == m_installed) {
        return;
    }
    if (!polish) {
        QCoreApplication::removeTranslator(&m_polish);
        m_installed = false;
        return;
    }
    if (m_polish.isEmpty()) {
        const QString name = QStringLiteral("qtbase_pl");
        if (!m_polish.load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            !m_polish.load(name, QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/translations"))) {
            return;
        }
    }
    m_installed = QCoreApplication::installTranslator(&m_polish);
}

} // namespace vtl
