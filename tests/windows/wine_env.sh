# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run Windows programs under Wine: a prefix of our own, no display,
# no Mono or Gecko offered, and the wine and wineserver commands.
: "${WINEPREFIX:?the Wine prefix must be set}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    echo "wine: making the Wine prefix $WINEPREFIX" >&2
    "$wine" wineboot --init >/dev/null 2>&1
fi

# A Linux path as Windows programs under Wine see it (drive Z: is the root).
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}
