#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test with HOME and the XDG folders in a temporary folder of its own, removed afterwards,
# so that no test can write the user's flight archive, settings or flight-log caches.
set -u
home=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-test-home.XXXXXX") || exit 1
export HOME="$home"
export XDG_CONFIG_HOME="$home/.config"
export XDG_DATA_HOME="$home/.local/share"
export XDG_CACHE_HOME="$home/.cache"
export XDG_STATE_HOME="$home/.local/state"
"$@"
status=$?
rm -rf "$home"
exit "$status"
