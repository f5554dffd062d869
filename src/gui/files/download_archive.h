// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/flight_archive.h"
#include "core/flight/flight_record.h"
#include "core/shell/language.h"
#include "core/shell/prompter.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Keeps a copy of every downloaded flight in the user's flight archive folder (the default one
// until the window sets another); a folder that cannot be written is reported once per run and
// never stops a download.
class DownloadArchive {
public:
    DownloadArchive(vtl::Prompter& prompter, const vtl::Language& language);

    const QString& folder() const { return m_folder; }
    void setFolder(const QString& folder) { m_folder = folder; }

    // Writes the flight's image, byte for byte what a save would write; the path written, or
    // nothing when the archive cannot be written (reported once per run).
    std::optional<std::string> keep(const vtl::FlightRecord& flight,
                                    vtl::ArchiveKind kind = vtl::ArchiveKind::Whole);
    // Writes a downloaded image that did not become a flight record.
    std::optional<std::string> keepImage(const std::vector<uint8_t>& image, uint16_t serialNumber,
                                         uint16_t competitorNumber, vtl::ArchiveKind kind);

private:
    vtl::Prompter& m_prompter;
    const vtl::Language& m_language;
    QString m_folder;
    bool m_failureReported = false;
};
