// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace vtl {

// Where a port name such as "COM5" leads on this system. On Windows the name is opened as it is.
// On Linux an alias `ports/COMn` in the settings file's folder (a symbolic link made by the
// simulator or the user) comes first; otherwise COM1-COM4 are /dev/ttyS0-3 and COM5-COM25 are
// /dev/ttyUSB0-20, or /dev/ttyACM0-20 where that ttyUSB node does not exist. A name that is
// already a path is used as it is.
std::string devicePathForPort(const std::string& portName, const std::string& aliasFolder,
                              const std::function<bool(const std::string&)>& exists);

// The same with the file system's answers.
std::string devicePathForPort(const std::string& portName, const std::string& aliasFolder);

// The number n of "COM1" ... "COM25", or 0 for any other name.
int comPortNumber(const std::string& portName);

// The name Windows opens for a port: "COM1" ... "COM9" as they are, "\\.\COM10" ... "\\.\COM25"
// through the device namespace (the plain name reaches only COM1-COM9); empty for any other name.
std::string windowsPortPath(const std::string& portName);

} // namespace vtl
