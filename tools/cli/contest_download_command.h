// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// "contest download FOLDER --round N [--zero]": the device's last flight, downloaded and archived
// as `download` does, then kept in the contest's round as the contest window keeps it. The entry
// is printed as `contest add` prints it. The contest is opened (and locked) before the device is
// touched, and the device is zeroed only once the flight is whole in the archive and the contest.
std::string runContestDownload(const CommandLine& args);

} // namespace vtl::cli
