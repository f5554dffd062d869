// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings_location.h"

#include "core/shell/program_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vtl {
namespace {

// Asked with the rights a write will use (the effective ones), so that a process that has given
// up root's override is answered as the write will answer it.
bool mayWrite(const QString& path) {
#ifdef _WIN32
    return QFileInfo(path).isWritable();
#else
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
#endif
}

} // namespace

SettingsPlaces settingsPlacesFor(const QString& executablePath) {
    return settingsPlacesForFile(
        QString::fromStdString(settingsFileNameFor(executablePath.toStdString())));
}

SettingsPlaces settingsPlacesForFile(const QString& programFile) {
    const QFileInfo target(programFile);
    const QFileInfo folder(target.absolutePath());
    // An installed program (its manuals under ../share) never writes into the program folder,
    // even where it could, as root can.
    const bool installed =
        QFileInfo(folder.absoluteFilePath() + QStringLiteral("/../share/vantorel")).isDir();
    // Nothing is made in the configuration folder here: the keeper makes it when it saves there.
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/vantorel");
    SettingsPlaces places;
    places.programFile = programFile.toStdString();
    places.userFile = (configFolder + "/" + target.fileName()).toStdString();
    places.programFileWritable = !installed && mayWrite(folder.absoluteFilePath()) &&
                                 (!target.exists() || mayWrite(target.absoluteFilePath()));
    return places;
}

QString resolveSettingsFilePath(const QString& executablePath) {
    return QString::fromStdString(settingsPlacesFor(executablePath).homeFile());
}

} // namespace vtl
