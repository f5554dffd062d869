// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/local_time.h"

namespace vtl {

std::tm localTime(std::time_t time) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    return local;
}

std::tm localTimeNow() {
    return localTime(std::time(nullptr));
}

} // namespace vtl
