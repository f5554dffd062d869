#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program folder holds exactly what its programs load: every DLL that a program, a
# DLL or a Qt plugin there imports is either in the folder or one of Windows's own, and every DLL
# in the folder is imported by something there (Qt's plugins are loaded by name, so they count
# as used). The Polish translation, the manuals and the licence are there too.
#
# usage: program_folder_check.sh FOLDER
set -euo pipefail
folder="$1"
objdump=x86_64-w64-mingw32-objdump
failures=0
fail() {
    echo "program folder: FAILED: $*" >&2
    failures=$((failures + 1))
}

imports() {
    "$objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]'
}
# Windows's own DLLs and its API sets.
system_dll() {
    case "$1" in
    api-ms-win-* | ext-ms-* | advapi32.dll | comdlg32.dll | d3d9.dll | d3d11.dll | d3d12.dll | \
        dwmapi.dll | dxgi.dll | dwrite.dll | gdi32.dll | imm32.dll | kernel32.dll | msvcrt.dll | \
        mpr.dll | netapi32.dll | ntdll.dll | ole32.dll | oleaut32.dll | setupapi.dll | \
        shell32.dll | shlwapi.dll | shcore.dll | user32.dll | userenv.dll | uxtheme.dll | \
        version.dll | winmm.dll | winspool.drv | ws2_32.dll | wtsapi32.dll | authz.dll | \
        comctl32.dll | crypt32.dll | d2d1.dll | opengl32.dll | dnsapi.dll | iphlpapi.dll)
        return 0
        ;;
    esac
    return 1
}

mapfile -t binaries < <(cd "$folder" && find . -iname '*.exe' -o -iname '*.dll' | sed 's|^\./||')
declare -A present used
for binary in "${binaries[@]}"; do
    present["$(basename "$binary" | tr '[:upper:]' '[:lower:]')"]=1
done
for binary in "${binaries[@]}"; do
    case "$binary" in */*) used["$(basename "$binary" | tr '[:upper:]' '[:lower:]')"]=1 ;; esac
    while read -r dll; do
        used["$dll"]=1
        if [ -z "${present[$dll]:-}" ] && ! system_dll "$dll"; then
            fail "$binary needs $dll, which is not in the folder"
        fi
    done < <(imports "$folder/$binary")
done
for dll in "${!present[@]}"; do
    case "$dll" in *.exe) continue ;; esac
    [ -n "${used[$dll]:-}" ] || fail "$dll is in the folder but nothing loads it"
done
for file in vantorel.exe vantorel-cli.exe Qt6PrintSupport.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll translations/qtbase_pl.qm Vtl_HELPP.html Vtl_HELPA.html \
    LICENSE.txt; do
    [ -f "$folder/$file" ] || fail "$file is missing"
done
if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "program folder: ${#binaries[@]} programs and DLLs, each needed and each found"
