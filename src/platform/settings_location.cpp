#include "platform/settings_location.h"

#include "core/shell/program_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vtl {

QString resolveSettingsFilePath(const QString& executablePath) {
    const QString besideExecutable =
        QString::fromStdString(settingsFileNameFor(executablePath.toStdString()));
    const QFileInfo target(besideExecutable);
    const QFileInfo folder(target.absolutePath());
    // An installed program (its manuals under ../share) never writes into the program folder,
    // even where it could, as root can.
    const bool installed =
        QFileInfo(folder.absoluteFilePath() + QStringLiteral("/../share/vantorel")).isDir();
    if (!installed && folder.isWritable() && (!target.exists() || target.isWritable())) {
        return besideExecutable;
    }
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/vantorel";
    QDir().mkpath(configFolder);
    return configFolder + "/" + target.fileName();
}

} // namespace vtl
