#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with the checks Debian applies (scripts/package: lintian, the desktop
# entry, the AppStream metainfo), then checks what it holds and what it asks the system for.
set -euo pipefail
build="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"$root/scripts/package" "$build" "$out"
package="$(ls "$out"/vantorel_*.deb)"
contents="$(dpkg-deb -c "$package")"
for file in ./usr/bin/vantorel ./usr/bin/vantorel-cli ./usr/bin/vantorel-devsim \
    ./usr/share/vantorel/help/Vtl_HELPA.html \
    ./usr/share/applications/io.github.vantorel.Vantorel.desktop \
    ./usr/share/metainfo/io.github.vantorel.Vantorel.metainfo.xml \
    ./usr/share/doc/vantorel/copyright ./usr/share/doc/vantorel/changelog.gz; do
    grep -q " $file\$" <<<"$contents" || { echo "package lacks $file"; exit 1; }
done
depends="$(dpkg-deb -f "$package" Depends)"
for library in libqt6widgets6 libqt6serialport6 libqt6printsupport6 libqcustomplot2.1-qt6; do
    grep -q "$library" <<<"$depends" || { echo "package does not depend on $library"; exit 1; }
done

# The desktop entry and the metainfo name each other: software centres join them by this id.
unpacked="$out/unpacked"
dpkg-deb -x "$package" "$unpacked"
launchable="$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' \
    "$unpacked"/usr/share/metainfo/*.metainfo.xml)"
[ -f "$unpacked/usr/share/applications/$launchable" ] ||
    { echo "the metainfo launches $launchable, which the package does not hold"; exit 1; }

# A release names its version in three places: the package, the changelog's top entry and the
# metainfo's newest release.
version="$(dpkg-deb -f "$package" Version)"
changelog_version="$(zcat "$unpacked/usr/share/doc/vantorel/changelog.gz" |
    sed -n '1s/^vantorel (\(.*\)).*/\1/p')"
[ "$changelog_version" = "$version" ] ||
    { echo "changelog's top entry is $changelog_version, the package $version"; exit 1; }
grep -q "<release version=\"$version\"" "$unpacked"/usr/share/metainfo/*.metainfo.xml ||
    { echo "the metainfo has no release $version"; exit 1; }
echo "package test passed"
