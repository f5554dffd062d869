#include "shell/help_files.h"

#include <QDir>
#include <QFileInfo>

namespace vtl {

QString helpFilePath(const QString& programFolder, int language) {
    const QString base = language == 0 ? QStringLiteral("Vtl_HELPP") : QStringLiteral("Vtl_HELPA");
    const QDir program(programFolder);
    const QString folders[] = {program.absolutePath(),
                               program.absoluteFilePath(QStringLiteral("../share/vantorel/help"))};
    for (const QString& folder : folders) {
        for (const char* extension : {".chm", ".html"}) {
            const QFileInfo candidate(QDir(folder).filePath(base + QLatin1String(extension)));
            if (candidate.isFile()) {
                return candidate.absoluteFilePath();
            }
        }
    }
    return {};
}

} // namespace vtl
