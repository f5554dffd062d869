// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/measurement_commands.h"

#include "core/files/measurement_file.h"
#include "core/files/spreadsheet_export.h"
#include "core/shell/framework_texts.h"
#include "core/shell/text_tables.h"
#include "core/shell/utf8_path.h"

#include <filesystem>

namespace vtl {

MeasurementCommands::MeasurementCommands(Prompter& prompter, const Language& language)
    : m_prompter(prompter), m_language(language) {}

std::optional<std::string> MeasurementCommands::chooseSaveName(const std::string& requiredSuffix,
                                                               FileDialog dialog) {
    // A flight and an export are kept in different places.
    const bool exporting = dialog == FileDialog::Export;
    std::string& last = exporting ? m_lastExportName : m_lastSaveName;
    std::string name = m_prompter.chooseFile(dialog, exporting ? outputStart(last) : last);
    if (name.empty()) {
        return std::nullopt;
    }
    last = name;
    if (!requiredSuffix.empty()) {
        name = withRequiredSuffix(name, requiredSuffix);
    }
    std::error_code error;
    // A folder cannot be replaced by a file: asking first would only end in a failed write.
    if (std::filesystem::is_directory(utf8Path(name), error)) {
        m_prompter.showMessage(isAFolderText(name, m_language),
                               message(Message::ErrorCaption, m_language), PromptButtons::Ok);
        return std::nullopt;
    }
    if (std::filesystem::exists(utf8Path(name), error) &&
        !m_prompter.showMessage(message(Message::FileExists, m_language),
                                message(Message::SaveCaption, m_language),
                                PromptButtons::OkCancel)) {
        return std::nullopt;
    }
    return name;
}

std::string MeasurementCommands::outputStart(const std::string& lastOfKind) const {
    // An empty start would leave the choice to the file dialog, which opens where any dialog was
    // last: mostly where a flight was opened from.
    if (!lastOfKind.empty() || m_outputFolder.empty()) {
        return lastOfKind;
    }
    return m_outputFolder + "/";
}

bool MeasurementCommands::saveMeasurement(const FlightRecord& record) {
    if (record.rawLength == 0) {
        m_prompter.showMessage(message(Message::NoData, m_language),
                               message(Message::ErrorCaption, m_language), PromptButtons::Ok);
        return false;
    }
    const std::optional<std::string> name = chooseSaveName();
    if (!name) {
        return false;
    }
    int error = 0;
    if (!writeMeasurementFile(*name, record, &error)) {
        m_prompter.showMessage(cannotCreateFileText(*name, error, m_language), kExceptionCaption,
                               PromptButtons::Ok);
        return false;
    }
    return true;
}

std::optional<MeasurementCommands::LoadedFile>
MeasurementCommands::chooseMeasurement(FileDialog dialog) {
    const std::string start = !m_lastOpenName.empty() || m_defaultOpenFolder.empty()
                                  ? m_lastOpenName
                                  : m_defaultOpenFolder + "/";
    const std::string name = m_prompter.chooseFile(dialog, start);
    if (name.empty()) {
        return std::nullopt;
    }
    m_lastOpenName = name;
    LoadedFile file{name, {}};
    MeasurementReadFailure failure = MeasurementReadFailure::None;
    if (!readMeasurementFile(name, file.bytes, &failure)) {
        m_prompter.showMessage(cannotReadMeasurementText(name, failure, m_language),
                               kExceptionCaption, PromptButtons::Ok);
        return std::nullopt;
    }
    return file;
}

} // namespace vtl
