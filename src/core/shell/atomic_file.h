#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vtl {

// Writes the bytes to a temporary file in the target's folder and renames it over the target,
// so that a failed write leaves the old file as it was. Returns false when any step fails.
bool writeFileAtomically(const std::string& path, const uint8_t* bytes, size_t size);

} // namespace vtl
