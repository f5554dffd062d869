// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings_location.h"

#include "core/shell/program_settings.h"

#include <QDir>
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

// An installed program never writes into its own folder, even where it could (root can, and
// Windows would quietly redirect the write elsewhere): on Linux its manuals lie in
// ../share/vantorel, on Windows its installer left an uninstaller beside it.
bool isInstalled(const QFileInfo& folder) {
#ifdef _WIN32
    return QFileInfo::exists(folder.absoluteFilePath() + QStringLiteral("/Uninstall.exe"));
#else
    return QFileInfo(folder.absoluteFilePath() + QStringLiteral("/../share/vantorel")).isDir();
#endif
}

// The user's own settings folder: %APPDATA%\Vantorel on Windows, $XDG_CONFIG_HOME/vantorel or
// ~/.config/vantorel elsewhere.
QString userConfigFolder() {
#ifdef _WIN32
    const QString roaming = qEnvironmentVariable("APPDATA");
    if (!roaming.isEmpty()) {
        return QDir::fromNativeSeparators(roaming) + QStringLiteral("/Vantorel");
    }
#endif
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vantorel");
}

} // namespace

SettingsPlaces settingsPlacesFor(const QString& executablePath) {
    return settingsPlacesForFile(
        QString::fromStdString(settingsFileNameFor(executablePath.toStdString())));
}

SettingsPlaces settingsPlacesForFile(const QString& programFile) {
    const QFileInfo target(programFile);
    const QFileInfo folder(target.absolutePath());
    const bool installed = isInstalled(folder);
    // Nothing is made in the configuration folder here: the keeper makes it when it saves there.
    const QString configFolder = userConfigFolder();
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
