// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>

namespace vtl {

// The calendar time in the user's time zone. std::localtime shares one buffer between threads
// (the flight log reads on several); this takes each system's own reentrant form.
std::tm localTime(std::time_t time);

// The local time now: what archive names and download times are written with.
std::tm localTimeNow();

} // namespace vtl
