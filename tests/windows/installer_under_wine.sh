#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer under Wine: a silent install into Program Files with its Start-menu entry
# and its entry in "Programs and Features"; the installed command line answers --version; the
# installed program, started on a virtual display and closed as a user closes it, keeps its
# settings under %APPDATA%\Vantorel, not in Program Files; a silent uninstall leaves no program
# file behind.
#
# usage: installer_under_wine.sh INSTALLER.exe   (WINEPREFIX set)
set -euo pipefail
installer="$1"
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"

failures=0
fail() {
    echo "installer under Wine: FAILED: $*" >&2
    failures=$((failures + 1))
}
ok() { echo "installer under Wine: $*"; }

installed="$WINEPREFIX/drive_c/Program Files/Vantorel"
timeout 120 "$wine" "$installer" /S
if [ -f "$installed/vantorel.exe" ] && [ -f "$installed/Uninstall.exe" ]; then
    ok "installed silently into C:\\Program Files\\Vantorel"
else
    fail "nothing installed in $installed"
fi
shortcut=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Vantorel/Vantorel.lnk' | head -n1)
[ -n "$shortcut" ] && ok "Start-menu entry: ${shortcut#"$WINEPREFIX/"}" || fail "no Start-menu entry"
if "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel' \
    /v DisplayName 2>/dev/null | grep -q Vantorel; then
    ok "listed in Programs and Features"
else
    fail "no entry in Programs and Features"
fi

version="$(cd "$installed" && timeout 60 "$wine" ./vantorel-cli.exe --version | tr -d '\r')"
[[ "$version" == "vantorel-cli "* ]] && ok "installed $version" || fail "--version said '$version'"

manuals="$(cd "$installed" && timeout 60 "$wine" ./vantorel.exe --help | tr -d '\r' | grep manual:)"
if ! grep -q "not found" <<<"$manuals" && [ "$(grep -c 'Program Files' <<<"$manuals")" -eq 2 ]; then
    ok "the installed program finds both manuals beside itself"
else
    fail "the installed program's manuals: $manuals"
fi

# The installed program on a virtual display, closed through its window as a user closes it: it
# keeps its settings under %APPDATA%\Vantorel, never beside itself in Program Files.
roaming="$(timeout 30 "$wine" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')"
settings_folder="$(timeout 30 "$wine" winepath -u "$roaming" 2>/dev/null)"
settings_folder="${settings_folder%/}/Vantorel"
rm -rf "$settings_folder"
Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$WINEPREFIX/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
    [ -s "$WINEPREFIX/display" ] && break
    sleep 0.1
done
display=":$(cat "$WINEPREFIX/display")"
# Wine's session so far has no display; the program must start a new one that has.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
(cd "$installed" && DISPLAY="$display" timeout 60 "$wine" ./vantorel.exe >/dev/null 2>&1) &
program=$!
# The window is there after a few seconds; each close request goes to the windows there are.
closed=0
sleep 8
for _ in $(seq 10); do
    DISPLAY="$display" timeout 20 "$wine" taskkill /IM vantorel.exe >/dev/null 2>&1 || true
    sleep 2
    if ! kill -0 "$program" 2>/dev/null; then
        closed=1
        break
    fi
done
wait "$program" 2>/dev/null || true
kill "$xvfb" 2>/dev/null || true
if [ "$closed" -eq 1 ] && [ -f "$settings_folder/vantorel.par" ] &&
    [ ! -e "$installed/vantorel.par" ]; then
    ok "the installed program, closed by its window, kept its settings in %APPDATA%\\Vantorel"
else
    fail "closed: $closed; settings in $settings_folder: $(ls "$settings_folder" 2>&1)"
fi

timeout 60 "$wine" "$installed/Uninstall.exe" /S
# The uninstaller copies itself away and goes on in the background.
for _ in $(seq 60); do
    [ -e "$installed/vantorel.exe" ] || break
    sleep 0.5
done
sleep 1
if [ -n "$(find "$installed" -type f 2>/dev/null)" ]; then
    fail "after the uninstall: $(find "$installed" -type f | head -n 5 | tr '\n' ' ')"
else
    ok "uninstalled silently: no program file left"
fi
"$wineserver" -k 2>/dev/null || true
[ "$failures" -eq 0 ]
