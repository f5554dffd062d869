// SPDX-License-Identifier: GPL-3.0-or-later
#include "port_link.h"

#include "core/shell/program_settings.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vtl::devsim {

namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the folder and any missing parents; true when it exists afterwards.
bool makeFolders(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent)) {
        return false;
    }
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST;
}

std::string linkTarget(const std::string& path) {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    return length < 0 ? std::string() : std::string(buffer, static_cast<size_t>(length));
}

} // namespace

bool PortLink::point(const std::string& target, std::string& error) {
    struct stat info {};
    if (::lstat(m_path.c_str(), &info) == 0 && !S_ISLNK(info.st_mode)) {
        error = m_path + " exists and is not a symbolic link";
        return false;
    }
    const std::string folder = folderOf(m_path);
    if (!makeFolders(folder)) {
        error = "cannot make the folder " + folder + ": " + std::strerror(errno);
        return false;
    }
    // A link made aside and renamed over the old one: the program never finds the name missing.
    const std::string aside = m_path + ".devsim-" + std::to_string(::getpid());
    ::unlink(aside.c_str());
    if (::symlink(target.c_str(), aside.c_str()) != 0) {
        error = "cannot make the link " + m_path + ": " + std::strerror(errno);
        return false;
    }
    if (::rename(aside.c_str(), m_path.c_str()) != 0) {
        error = "cannot make the link " + m_path + ": " + std::strerror(errno);
        ::unlink(aside.c_str());
        return false;
    }
    m_target = target;
    return true;
}

void PortLink::remove() {
    if (m_target.empty()) {
        return;
    }
    if (linkTarget(m_path) == m_target) {
        ::unlink(m_path.c_str());
    }
    m_target.clear();
}

std::string programSettingsFolder() {
    const std::string executable = linkTarget("/proc/self/exe");
    if (!executable.empty()) {
        // The program's own rule: beside the executable when the folder and the file may be
        // written and the program is not installed (its manuals under ../share/vantorel).
        const std::string folder = folderOf(executable);
        const std::string settings = settingsFileNameFor(folder + "/vantorel");
        const bool fileWritable =
            ::access(settings.c_str(), F_OK) != 0 || ::access(settings.c_str(), W_OK) == 0;
        const bool installed = ::access((folder + "/../share/vantorel").c_str(), F_OK) == 0;
        if (!installed && ::access(folder.c_str(), W_OK) == 0 && fileWritable) {
            return folder;
        }
    }
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return std::string(configHome) + "/vantorel";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.config/vantorel";
}

std::string defaultLinkPath(const std::string& portName) {
    return programSettingsFolder() + "/ports/" + portName;
}

} // namespace vtl::devsim
