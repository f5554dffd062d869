// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vtl {

// Writes the bytes to a temporary file in the target's folder and renames it over the target,
// so that a failed write leaves the old file as it was. The target is where a symbolic link
// points (the link stays); an existing target that the user may not write is refused, as a
// failed create would be, and a replaced file keeps its permission bits. Returns false when any
// step fails, and then puts the system's reason (an errno value) into `error` where one is given.
bool writeFileAtomically(const std::string& path, const uint8_t* bytes, size_t size,
                         int* error = nullptr);

// Writes the bytes to a new file of a short unique name (".vtl-XXXXXX") in the folder, with the
// permission bits a newly created file gets, and returns its path; nothing is left behind when
// it fails, and `error` says why. The caller renames or links it where it belongs.
std::optional<std::string> writeTemporaryFile(const std::string& folder, const uint8_t* bytes,
                                              size_t size, int* error = nullptr);

// Whether the file name is one that the two writers above give their temporary files: a file
// of such a name that outlives its writer was left by a program stopped in the middle of a save.
bool isTemporaryFileName(const std::string& fileName);

} // namespace vtl
