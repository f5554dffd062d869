#!/usr/bin/env bash
# Builds the Debian package and checks what it holds and what it asks the system for.
set -euo pipefail
build="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
package="$(ls "$out"/vantorel_*.deb)"
contents="$(dpkg-deb -c "$package")"
for file in ./usr/bin/vantorel ./usr/bin/vantorel-cli ./usr/bin/vantorel-devsim \
    ./usr/share/vantorel/help/Vtl_HELPA.html ./usr/share/applications/vantorel.desktop; do
    grep -q " $file\$" <<<"$contents" || { echo "package lacks $file"; exit 1; }
done
depends="$(dpkg-deb -f "$package" Depends)"
for library in libqt6widgets6 libqt6serialport6 libqt6printsupport6 libqcustomplot2.1-qt6; do
    grep -q "$library" <<<"$depends" || { echo "package does not depend on $library"; exit 1; }
done
echo "package test passed"
