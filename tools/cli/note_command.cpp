// SPDX-License-Identifier: GPL-3.0-or-later
#include "note_command.h"

#include "json_output.h"

#include "core/files/flight_notes.h"

namespace vtl::cli {

using nlohmann::ordered_json;

std::string runNote(const CommandLine& args) {
    const std::string& file = args.positional(0, "FILE");
    if (args.positionalCount() > 1) {
        writeFlightNote(file, args.positional(1, "TEXT"));
    }
    const std::optional<FoundNote> found = readFlightNote(file);
    ordered_json json;
    json["file"] = file;
    json["note"] = found ? ordered_json(found->text) : ordered_json(nullptr);
    json["stale"] = found && found->stale;
    return jsonText(json, requestedLayout(args));
}

} // namespace vtl::cli
