// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"
#include "core/shell/prompter.h"

#include <QString>

#include <cstdint>

// The user's flight archive folder, where every downloaded flight is kept (the default one until
// the window sets another), and the one report per run of a folder that cannot be written: a
// failing archive never stops a download, and is not told again on every one.
class DownloadArchive {
public:
    DownloadArchive(vtl::Prompter& prompter, const vtl::Language& language);

    const QString& folder() const { return m_folder; }
    void setFolder(const QString& folder) { m_folder = folder; }

    // Tells the user that the folder could not be written, the first time only.
    void reportFailure();

private:
    vtl::Prompter& m_prompter;
    const vtl::Language& m_language;
    QString m_folder;
    bool m_failureReported = false;
};
