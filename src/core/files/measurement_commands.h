// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"
#include "core/shell/language.h"
#include "core/shell/prompter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

// The file halves of the save and load commands, with their questions and messages; the window
// draws what a load brings.
class MeasurementCommands {
public:
    MeasurementCommands(Prompter& prompter, const Language& language);

    // Asks for a name and writes the current flight. False when nothing was written.
    bool saveMeasurement(const FlightRecord& record);

    struct LoadedFile {
        std::string path;
        std::vector<uint8_t> bytes;
    };
    // Asks for a file and reads it; empty when cancelled or when it cannot be opened (reported).
    // The dialog is the load's or the comparison's.
    std::optional<LoadedFile> chooseMeasurement(FileDialog dialog = FileDialog::Open);

    // Asks for a name to save to through the save dialog, and whether an existing file may be
    // replaced. Empty when the user cancels or declines, or when the name is a folder (told).
    // Shared with the spreadsheet export, which shows its own dialog and starts where the last
    // export went, or in the output folder before the first.
    std::optional<std::string> chooseSaveName(const std::string& requiredSuffix = std::string(),
                                              FileDialog dialog = FileDialog::Save);

    const std::string& lastSaveName() const { return m_lastSaveName; }
    // Where a picture or an export starts: the last of its kind, else the output folder.
    std::string outputStart(const std::string& lastOfKind) const;
    // The folder of the first picture or export of the session.
    void setOutputFolder(const std::string& folder) { m_outputFolder = folder; }
    const std::string& lastOpenName() const { return m_lastOpenName; }
    void setLastOpenName(const std::string& name) { m_lastOpenName = name; }
    // Where the open dialog starts until a file has been chosen.
    void setDefaultOpenFolder(const std::string& folder) { m_defaultOpenFolder = folder; }

private:
    Prompter& m_prompter;
    const Language& m_language;
    std::string m_lastSaveName;
    std::string m_lastExportName;
    std::string m_outputFolder;
    std::string m_lastOpenName;
    std::string m_defaultOpenFolder;
};

} // namespace vtl
