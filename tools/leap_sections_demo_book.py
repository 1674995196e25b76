#!/usr/bin/env python3
"""Adds to each section of a demo book source the leap-arrangement lesson it begins in.

    python3 tools/leap_sections_demo_book.py resources/demo_book.lekta

"section 3 9/29: פרק ח" becomes "section 3 9/29 leap 9/30: פרק ח": what
tools/make_demo_book.py now writes, for a source made before it did, without the database the
generator needs. A chapter begins in the lesson whose first verse is its verse 1, or in the one
that holds its heading; slot 31 only repeats slots 29 and 30 and is passed over. The regular
lessons found the same way must be the ones the index names already, or nothing is written.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_demo_book as m  # noqa: E402

HEADING = "p[style=0x%02X]: " % m.STYLE_HEADING


def lessons_of(lines):
    out, key = {}, None
    for line in lines:
        if line.startswith("@lesson "):
            key = line[8:].strip()
            out[key] = []
        elif line.startswith("@index"):
            key = None
        elif key and line:
            out[key].append(line)
    return out


def chapter_starts(lessons, leap):
    """(month, day) of each chapter's first verse, in the order of the book."""
    starts = []
    for month, day in m.cycle_days(leap):
        body = lessons["%s%d/%d" % ("leap " if leap else "", month, day)]
        first_label = next(line for line in body if line.startswith("label["))
        if first_label.startswith("label[א,"):
            starts.append((month, day))
        starts += [(month, day) for line in body if line.startswith(HEADING)]
    return starts


def main(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    lessons = lessons_of(lines)
    regular, leap = chapter_starts(lessons, False), chapter_starts(lessons, True)
    sections = [i for i, line in enumerate(lines) if line.startswith("section 3 ")]
    named = [tuple(int(n) for n in lines[i].split()[2].rstrip(":").split("/")) for i in sections]
    if len(regular) != len(sections) or len(leap) != len(sections) or regular != named:
        raise SystemExit("%s: the sections do not follow the chapters; nothing written" % path)
    for i, (month, day) in zip(sections, leap):
        head, colon, title = lines[i].partition(":")
        if " leap " not in head:
            lines[i] = "%s leap %d/%d%s%s" % (head, month, day, colon, title)
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main(sys.argv[1])
