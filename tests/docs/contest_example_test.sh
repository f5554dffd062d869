#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manuals' worked contest example is the program's own arithmetic: two samples are kept in a
# contest under each rule, and every score and place the program gives must stand in the example's
# row of both manuals, with the language's decimal separator (and in the manual page).
# usage: contest_example_test.sh VANTOREL_CLI SAMPLES_FOLDER DOCS_FOLDER
set -uo pipefail
cli="$1"
samples="$2"
docs="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "$1"
    failed=1
}

printf 'number,name,club\n7,Anna Lis,Orlik\n42,Piotr Wrona,Sokół\n' >"$work/competitors.csv"
for rule in max window:20 at:10 duration:120; do
    folder="$work/${rule/:/-}"
    "$cli" contest new "$folder" --name "Puchar Wiosny" --rule "$rule" >/dev/null &&
        "$cli" contest competitors "$folder" "$work/competitors.csv" >/dev/null &&
        "$cli" contest add "$folder" "$samples/rubber_model_5_per_s.bin" --round 1 >/dev/null &&
        "$cli" contest add "$folder" "$samples/towed_glider_10_per_s.bin" --round 1 >/dev/null ||
        fail "$rule: the contest could not be made"
    results="$("$cli" contest results "$folder")" || fail "$rule: no results"
    # "7 101 1 42 70.1 2": each competitor's number, score and place, in the order of the places.
    line="$(python3 -c '
import json, sys
for c in json.load(sys.stdin)["competitors"]:
    print(c["number"], c["scores"][0], c["rank"])' <<<"$results")"
    declare -A score=() place=()
    while read -r number value rank; do
        score[$number]="$value"
        place[$number]="$rank"
    done <<<"$line"
    decimals=1
    unit=m
    if [ "${rule%%:*}" = duration ]; then
        decimals=2
        unit=s
    fi
    for manual in "$docs/help/Vtl_HELPA.html:." "$docs/help/Vtl_HELPP.html:,"; do
        file="${manual%:*}"
        separator="${manual##*:}"
        row="$(grep -F "<tr><td><code>$rule</code></td>" "$file" | grep -F "7: " | head -n 1)"
        [ -n "$row" ] || fail "$(basename "$file"): no example row for $rule"
        for number in 7 42; do
            text="$(printf "%.${decimals}f" "${score[$number]}" | tr . "$separator") $unit"
            grep -qF "<td>$text" <<<"$row" || fail "$(basename "$file"): $rule gives $number $text"
            grep -qF "$number: ${place[$number]}" <<<"$row" ||
                fail "$(basename "$file"): $rule places $number ${place[$number]}"
        done
    done
    page="$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$docs/man/vantorel-cli.1" | tr '\n' ' ')"
    for number in 7 42; do
        value="${score[$number]}"
        [ "$unit" = s ] && value="${value%.0} s"
        grep -qF "$value" <<<"$page" || fail "vantorel-cli.1: $rule score $value is not in the example"
    done
    unset score place
done

[ "$failed" -eq 0 ] && echo "the manuals' contest example is the program's"
exit "$failed"
