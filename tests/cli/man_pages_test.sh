#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Keeps the manual pages from drifting from the programs: every command and option that a
# program's --help lists must appear in its page, the page's version must be the program's, and
# the page must format without a single warning.
# usage: man_pages_test.sh MAN_FOLDER PROGRAM...
set -uo pipefail
pages="$1"
shift
failed=0
fail() {
    echo "$1"
    failed=1
}

for program in "$@"; do
    name="$(basename "$program")"
    page="$pages/$name.1"
    if [ ! -f "$page" ]; then
        fail "$name: no manual page $page"
        continue
    fi
    # The page as words: roff's escaped hyphens made plain, font changes dropped.
    text="$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")"

    usage="$("$program" --help)" || fail "$name: --help failed"
    # Options anywhere in the usage; commands are the words that start its indented lines,
    # the way vantorel-cli lists them.
    words="$(grep -o -- '--[a-z][a-z-]*' <<<"$usage" | sort -u)"
    words+=$'\n'"$(sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\?$/\1/p' <<<"$usage" | sort -u)"
    for word in $words; do
        grep -q -- "\\(^\\|[^a-z-]\\)$word\\([^a-z-]\\|\$\\)" <<<"$text" ||
            fail "$name: '$word' is in --help but not in $page"
    done

    version="$("$program" --version)" || fail "$name: --version failed"
    grep -q "^\.TH .* \"vantorel ${version##* }\"" "$page" ||
        fail "$name: the page's version is not that of '$version'"

    warnings="$(groff -man -ww -z "$page" 2>&1)"
    [ -z "$warnings" ] || fail "$name: groff warns: $warnings"
    if command -v man >/dev/null; then
        warnings="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
        [ -z "$warnings" ] || fail "$name: man warns: $warnings"
    fi
done

[ "$failed" -eq 0 ] && echo "manual pages match the programs"
exit "$failed"
