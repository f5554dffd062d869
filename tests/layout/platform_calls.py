#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that no call only POSIX has stands where a Windows build compiles it.

A POSIX-only call (and a POSIX-only header) may stand in a file made for POSIX alone (see
POSIX_ONLY) or inside a branch that Windows never compiles: the #else of `#ifdef _WIN32` or
`#if defined(_WIN32)`, or the body of `#ifndef _WIN32` / `#if !defined(_WIN32)`. Member calls
(`port.close()`) and qualified names (`QProcess::kill`) are not the system's and are not counted.
No `thread_local` stands where Windows compiles it: the MinGW build frees such a variable twice
when its thread ends, now and then. Prints each fault as FILE:LINE and exits 1. `--self-test`
checks the checker."""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).parents[2]
FOLDERS = ("src", "tools", "fuzz", "bench")
# Calls the code base makes or might reach for, which Windows does not have (or has only under
# another name: _unlink, _getpid, localtime_s ...).
POSIX_CALLS = {
    "localtime_r", "gmtime_r", "sigaction", "sigemptyset", "fork", "execv", "execvp", "waitpid",
    "mkstemp", "mkdtemp", "fsync", "fdatasync", "fchmod", "chmod", "umask", "realpath",
    "readlink", "symlink", "lstat", "link", "unlink", "pipe", "kill", "isatty", "getuid",
    "geteuid", "getegid", "getpid", "faccessat", "getpriority", "setpriority", "posix_openpt",
    "grantpt", "unlockpt", "ptsname", "openpty", "tcgetattr", "tcsetattr", "cfmakeraw", "poll",
    "fcntl", "setenv", "unsetenv",
}
POSIX_HEADERS = {
    "unistd.h", "termios.h", "pwd.h", "poll.h", "pty.h", "dirent.h", "sys/resource.h",
    "sys/ioctl.h", "sys/wait.h", "sys/mman.h", "sys/select.h", "sys/socket.h",
}
# Files and folders built for POSIX only: the device simulator lives on a pseudo-terminal, and the
# fuzz targets are built by scripts/fuzz with clang's libFuzzer on Linux.
# Linux alone builds the Qt SerialPort backend (Windows has its own).
POSIX_ONLY = ("tools/devsim/", "fuzz/", "src/platform/qt_serial_port.cpp")

CALL_KEYWORDS = {"return", "else", "do", "case", "throw", "not", "and", "or", "co_return"}
CALL = re.compile(r"\b([A-Za-z_]\w*)\s*\(")
THREAD_LOCAL = re.compile(r"\bthread_local\b")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
DIRECTIVE = re.compile(r"^\s*#\s*(\w+)\s*(.*)$")
WINDOWS = re.compile(r"^(defined\s*\(\s*_WIN32\s*\)|defined\s+_WIN32|_WIN32)$")
NOT_WINDOWS = re.compile(r"^!\s*(defined\s*\(\s*_WIN32\s*\)|defined\s+_WIN32)$")


def made_for_one_platform(rel):
    name = rel.name
    return (rel.as_posix().startswith(POSIX_ONLY) or name.startswith(("posix_", "windows_")))


def without_comments_and_strings(text):
    """The text with comments and literals blanked, line breaks kept."""
    out = []
    i, n = 0, len(text)
    while i < n:
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("".join(c if c == "\n" else " " for c in text[i:end]))
            i = end
        elif text[i] in "\"'":
            quote = text[i]
            out.append(quote)
            i += 1
            while i < n and text[i] != quote and text[i] != "\n":
                i += 2 if text[i] == "\\" else 1
            out.append(quote)
            i += 1
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def system_call_at(line, match):
    """Whether the call is the global function, not a member or another namespace's."""
    before = line[:match.start()].rstrip()
    if before.endswith((".", "->")):
        return False
    if before.endswith("::"):
        return not re.search(r"[\w>]$", before[:-2].rstrip())
    # A name after a type names a variable or a function being declared, not the system's call.
    word = re.search(r"\b(\w+)$", before)
    return word is None or word.group(1) in CALL_KEYWORDS


def problems_in(text, rel):
    """The POSIX-only calls and headers of one file that a Windows build would compile."""
    if made_for_one_platform(rel):
        return []
    # Each open #if: whether its current branch is one Windows never compiles, and whether the
    # condition names Windows (+1), its opposite (-1) or something else (0).
    stack = []
    found = []
    raw_lines = text.splitlines()
    for number, line in enumerate(without_comments_and_strings(text).splitlines(), 1):
        directive = DIRECTIVE.match(line)
        if directive:
            word, condition = directive.group(1), directive.group(2).strip()
            if word in ("if", "ifdef", "ifndef"):
                if word == "ifdef":
                    condition = f"defined({condition})"
                elif word == "ifndef":
                    condition = f"!defined({condition})"
                sense = 1 if WINDOWS.match(condition) else -1 if NOT_WINDOWS.match(condition) else 0
                stack.append([sense, sense == -1])
            elif word in ("elif", "else") and stack:
                # After the Windows branch every other one is not Windows.
                stack[-1][1] = stack[-1][0] == 1
            elif word == "endif" and stack:
                stack.pop()
            elif word == "include" and not any(frame[1] for frame in stack):
                header = INCLUDE.match(raw_lines[number - 1])
                if header and header.group(1) in POSIX_HEADERS:
                    found.append(f"{rel}:{number}: <{header.group(1)}> outside a POSIX branch")
            continue
        if any(frame[1] for frame in stack):
            continue
        if THREAD_LOCAL.search(line):
            found.append(f"{rel}:{number}: thread_local where Windows compiles it")
        for match in CALL.finditer(line):
            if match.group(1) in POSIX_CALLS and system_call_at(line, match):
                found.append(f"{rel}:{number}: {match.group(1)}() outside a POSIX branch")
    return found


def self_test():
    core = pathlib.PurePosixPath("src/core/shell/example.cpp")
    cases = [
        ("std::tm t{}; localtime_r(&now, &t);", core, 1),
        ("#ifdef _WIN32\nlocaltime_s(&t, &now);\n#else\nlocaltime_r(&now, &t);\n#endif", core, 0),
        ("#if defined(_WIN32)\n#include <windows.h>\n#else\n#include <unistd.h>\n#endif", core, 0),
        ("#ifdef _WIN32\n::link(a, b);\n#endif", core, 1),
        ("#ifndef _WIN32\n::unlink(a);\n#endif\n::unlink(b);", core, 1),
        ("#if !defined(_WIN32)\n#if X\nfsync(fd);\n#endif\n#endif", core, 0),
        ("#ifdef QT_DEBUG\nfsync(fd);\n#else\nfsync(fd);\n#endif", core, 2),
        ("#include <unistd.h>", core, 1),
        ("m_process.kill(); QProcess::kill(); std::string link(\"x\");", core, 0),
        ("// localtime_r(&now, &t) is not reentrant-safe elsewhere\nconst char* s = \"fork()\";",
         core, 0),
        ("::fsync(fd);", core, 1),
        ("if (!x) return link(a, b);", core, 1),
        ("sigaction(SIGINT, &a, nullptr);", pathlib.PurePosixPath("tools/devsim/x.cpp"), 0),
        ("mkstemp(name);", pathlib.PurePosixPath("src/core/shell/posix_file.cpp"), 0),
        ("thread_local std::vector<int> scratch;", core, 1),
        ("static thread_local int depth = 0;", pathlib.PurePosixPath("tools/cli/x.cpp"), 1),
        ("#ifndef _WIN32\nthread_local int depth = 0;\n#endif", core, 0),
        ("// no thread_local here\nint thread_locals = 0;", core, 0),
    ]
    failed = 0
    for text, rel, expected in cases:
        got = problems_in(text, rel)
        if len(got) != expected:
            failed += 1
            print(f"self-test: expected {expected} for {text!r} in {rel}, got {got}")
    print(f"platform calls self-test: {failed} failed")
    return 1 if failed else 0


def main():
    if "--self-test" in sys.argv[1:]:
        return self_test()
    arguments = [a for a in sys.argv[1:] if not a.startswith("--")]
    root = pathlib.Path(arguments[0]) if arguments else ROOT
    problems = []
    for folder in FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                rel = pathlib.PurePosixPath(path.relative_to(root).as_posix())
                problems += problems_in(path.read_text(encoding="utf-8"), rel)
    for problem in problems:
        print(problem)
    print(f"platform calls: {len(problems)} out of place")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
