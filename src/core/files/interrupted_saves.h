// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace vtl {

// A program stopped in the middle of a save (killed, a power cut) leaves the safe writer's hidden
// temporary file behind; in the archive it holds a whole flight that nothing lists or opens.

// What became of the temporary files of a folder.
struct InterruptedSaves {
    std::vector<std::string> recovered; // the flights, now under their archive names
    // Flights that could not be moved (a folder that may not be written, a file that cannot be
    // read): left where they are, so that the next start tries again.
    std::vector<std::string> leftBehind;
    size_t removed = 0; // temporary files that held no flight (a cache's, a broken one)
};

// A temporary file unchanged for this long has outlived its writer; a younger one may still be
// written by a program that runs now, and is never touched.
constexpr std::chrono::seconds kStaleTemporaryAge{60};

// Takes back the stale temporary files of the folder. A flight the recorder could have written
// is kept under its archive name (its file's modification time as local time, the serial and
// the competitor of its header) marked "_recovered", "_partial_recovered" where the flight has
// no end, never replacing a file: "..._C42_recovered.bin", "..._C42_partial_recovered-2.bin".
// Anything else is removed.
InterruptedSaves recoverInterruptedSaves(const std::string& folder);

} // namespace vtl
