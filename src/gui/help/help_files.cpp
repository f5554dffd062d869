// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/help/help_files.h"

#include <QDir>
#include <QFileInfo>

namespace vtl {

QString helpFileBaseName(vtl::Language language) {
    return language == vtl::Language::Polish ? QStringLiteral("Vtl_HELPP")
                                             : QStringLiteral("Vtl_HELPA");
}

QString helpFilePath(const QString& workingFolder, const QString& programFolder,
                     vtl::Language language, HelpFormat format) {
    const QString base = helpFileBaseName(language);
    const QDir program(programFolder);
    const QString folders[] = {QDir(workingFolder).absolutePath(), program.absolutePath(),
                               program.absoluteFilePath(QStringLiteral("../share/vantorel/help"))};
    for (const QString& folder : folders) {
        for (const char* extension : {".chm", ".html"}) {
            if (format == HelpFormat::Html && QLatin1String(extension) != QLatin1String(".html")) {
                continue;
            }
            const QFileInfo candidate(QDir(folder).filePath(base + QLatin1String(extension)));
            if (candidate.isFile()) {
                return candidate.absoluteFilePath();
            }
        }
    }
    return {};
}

} // namespace vtl
