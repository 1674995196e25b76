#!/usr/bin/env python3
"""Rewrites the verse ranges of a demo book source's subtitles as references.

    python3 tools/resubtitle_demo_book.py resources/demo_book.lekta

"א א - א יח" becomes "א,א-יח"; "ו ו - ז ה" becomes "ו,ו - ז,ה"; "נ כ - שמות א ג" becomes
"נ,כ - שמות א,ג": what tools/make_demo_book.py now writes, for a source made before it did,
without the database the generator needs. Lines already in the new form are left alone.
"""

import re
import sys

OLD = re.compile(r"^subtitle: (\S+) (\S+) - (?:(\S+) )?(\S+) (\S+)$")


def resubtitle(line):
    match = OLD.match(line)
    if not match:
        return line
    chapter, verse, book, last_chapter, last_verse = match.groups()
    if book is None and last_chapter == chapter:
        return "subtitle: %s,%s-%s" % (chapter, verse, last_verse)
    last = "%s,%s" % (last_chapter, last_verse)
    return "subtitle: %s,%s - %s" % (chapter, verse, (book + " " + last) if book else last)


def main(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(resubtitle(line) for line in lines))


if __name__ == "__main__":
    main(sys.argv[1])
