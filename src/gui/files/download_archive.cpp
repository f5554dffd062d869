// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/download_archive.h"

#include "core/shell/text_tables.h"
#include "platform/archive_location.h"

DownloadArchive::DownloadArchive(vtl::Prompter& prompter, const vtl::Language& language)
    : m_prompter(prompter), m_language(language), m_folder(vtl::defaultArchiveFolder()) {}

void DownloadArchive::reportFailure() {
    if (m_failureReported) {
        return;
    }
    m_failureReported = true;
    m_prompter.showMessage(
        vtl::message(vtl::Message::ArchiveFailed, m_language) + m_folder.toStdString(),
        vtl::message(vtl::Message::ErrorCaption, m_language), vtl::PromptButtons::Ok);
}
