#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks that the installed program starts
# without a display, finds its manuals and keeps its settings out of the program folder.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
home="$(mktemp -d)"
trap 'rm -rf "$prefix" "$home"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/vantorel bin/vantorel-cli bin/vantorel-devsim \
    share/vantorel/help/Vtl_HELPP.html share/vantorel/help/Vtl_HELPA.html \
    share/applications/io.github.vantorel.Vantorel.desktop share/icons/hicolor/scalable/apps/vantorel.svg \
    share/man/man1/vantorel.1.gz share/man/man1/vantorel-cli.1.gz \
    share/man/man1/vantorel-devsim.1.gz; do
    [ -e "$prefix/$file" ] || { echo "missing after install: $file"; exit 1; }
done

# Every installed program names itself and the project's version.
version="$(sed -n 's/^project(vantorel VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")"
for program in vantorel vantorel-cli vantorel-devsim; do
    answer="$("$prefix/bin/$program" --version)"
    [ "$answer" = "$program $version" ] || { echo "$program --version said '$answer'"; exit 1; }
done

# The installed window finds both manuals in the installed share folder.
places="$(cd "$home" && QT_QPA_PLATFORM=offscreen "$prefix/bin/vantorel" --help)"
for manual in Vtl_HELPP.html Vtl_HELPA.html; do
    grep -qF "manual: $prefix/share/vantorel/help/$manual" <<<"$places" ||
        { echo "the installed program does not find $manual:"; echo "$places"; exit 1; }
done

# The program runs until it is closed: still running after three seconds means it started.
status=0
HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=offscreen \
    timeout 3 "$prefix/bin/vantorel" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || { echo "the installed program ended with status $status"; exit 1; }
[ ! -e "$prefix/bin/vantorel.par" ] || { echo "settings written into the program folder"; exit 1; }

# The installed companion works from there too.
"$prefix/bin/vantorel-cli" info "$prefix/share/vantorel/samples/towed_glider_10_per_s.bin" \
    | grep -q '"competitorNumber":42' || { echo "installed vantorel-cli failed"; exit 1; }
echo "install test passed"
