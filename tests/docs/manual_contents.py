#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The manuals' contents agree with their headings: the n-th entry of the contents links to the
section headed "n. <the entry's text>", an entry nested under it links to a subsection headed with
its text, and every numbered section is in the contents, in order.
Usage: manual_contents.py MANUAL.html...  |  manual_contents.py --self-test"""

import html.parser
import sys


class Manual(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.entries = []  # (depth, target id, text)
        self.headings = {}  # id -> (tag, text)
        self.numbered = []  # ids of h2 sections whose text starts with a number
        self._in_toc = False
        self._list_depth = 0
        self._entry = None
        self._heading = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "div" and attrs.get("class") == "toc":
            self._in_toc = True
        elif self._in_toc and tag in ("ol", "ul"):
            self._list_depth += 1
        elif self._in_toc and tag == "a" and attrs.get("href", "").startswith("#"):
            self._entry = [self._list_depth, attrs["href"][1:], ""]
        elif tag in ("h2", "h3") and "id" in attrs:
            self._heading = [tag, attrs["id"], ""]

    def handle_endtag(self, tag):
        if self._in_toc and tag in ("ol", "ul"):
            self._list_depth -= 1
        elif self._in_toc and tag == "div":
            self._in_toc = False
        elif tag == "a" and self._entry:
            self.entries.append(tuple(self._entry))
            self._entry = None
        elif self._heading and tag == self._heading[0]:
            kind, ident, text = self._heading
            self.headings[ident] = (kind, text.strip())
            if kind == "h2" and text.strip()[:1].isdigit():
                self.numbered.append(ident)
            self._heading = None

    def handle_data(self, data):
        if self._entry:
            self._entry[2] += data
        if self._heading:
            self._heading[2] += data


def faults(text):
    manual = Manual()
    manual.feed(text)
    found = []
    number = 0
    listed = []
    for depth, ident, entry in manual.entries:
        kind, heading = manual.headings.get(ident, (None, None))
        if depth == 1:
            number += 1
            listed.append(ident)
            expected = ("h2", f"{number}. {entry}")
        else:
            expected = ("h3", entry)
        if (kind, heading) != expected:
            found.append(f"contents entry '{entry}' (#{ident}) expects {expected[0]} "
                         f"'{expected[1]}', the manual has {kind} '{heading}'")
    if listed != manual.numbered:
        found.append(f"numbered sections {manual.numbered} differ from the contents {listed}")
    if not manual.entries:
        found.append("no contents")
    return found


def self_test():
    good = """<div class="toc"><ol><li><a href="#a">One</a></li><li><a href="#b">Two</a>
<ul><li><a href="#c">Sub</a></li></ul></li></ol></div>
<h2 id="a">1. One</h2><h2 id="b">2. Two</h2><h3 id="c">Sub</h3>"""
    flat = good.replace("<ul><li><a href=\"#c\">Sub</a></li></ul>", "").replace(
        "</li></ol>", "</li><li><a href=\"#c\">Sub</a></li></ol>")
    renumbered = good.replace("2. Two", "3. Two")
    missing = good.replace("<li><a href=\"#b\">Two</a>", "<li>")
    assert not faults(good), faults(good)
    for bad in (flat, renumbered, missing):
        assert faults(bad), bad
    print("self-test: a nested, renumbered or missing entry is caught")
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    status = 0
    for path in sys.argv[1:]:
        with open(path, encoding="utf-8") as f:
            found = faults(f.read())
        for fault in found:
            print(f"{path}: {fault}", file=sys.stderr)
        status |= bool(found)
        if not found:
            print(f"{path}: contents and headings agree")
    return status


if __name__ == "__main__":
    sys.exit(main())
