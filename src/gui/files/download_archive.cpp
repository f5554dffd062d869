// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/download_archive.h"

#include "core/shell/text_tables.h"
#include "platform/archive_location.h"

#include <algorithm>
#include <ctime>

DownloadArchive::DownloadArchive(vtl::Prompter& prompter, const vtl::Language& language)
    : m_prompter(prompter), m_language(language), m_folder(vtl::defaultArchiveFolder()) {}

std::optional<std::string> DownloadArchive::keep(const vtl::FlightRecord& flight,
                                                 vtl::ArchiveKind kind) {
    const int32_t length =
        std::clamp<int32_t>(flight.rawLength, 0, vtl::FlightRecord::kImageCapacity);
    const std::vector<uint8_t> image(flight.rawImage.begin(), flight.rawImage.begin() + length);
    return keepImage(image, flight.serialNumber, flight.competitorNumber, kind);
}

std::optional<std::string> DownloadArchive::keepImage(const std::vector<uint8_t>& image,
                                                      uint16_t serialNumber,
                                                      uint16_t competitorNumber,
                                                      vtl::ArchiveKind kind) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    auto written = vtl::archiveFlight(m_folder.toStdString(), image, local, serialNumber,
                                      competitorNumber, kind);
    if (!written && !m_failureReported) {
        m_failureReported = true;
        m_prompter.showMessage(
            vtl::message(vtl::Message::ArchiveFailed, m_language) + m_folder.toStdString(),
            vtl::message(vtl::Message::ErrorCaption, m_language), vtl::PromptButtons::Ok);
    }
    return written;
}
