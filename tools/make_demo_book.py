#!/usr/bin/env python3
"""Generate the demo book source (resources/demo_book.lekta) from the Torah.

The text is the consonantal Hebrew of the five books of Moses, taken from the
Open Scripture Hebrew Bible as Debian ships it in the bibledit-cloud-data
package (databases/oshb.sqlite). The verses are spread over the lessons of the
yearly cycle, once for the regular arrangement and once for the leap one, so
that the reading flows through the whole Torah from 19 Kislev to 18 Kislev.

    python3 tools/make_demo_book.py [--db PATH] [--out resources/demo_book.lekta]
    python3 tools/make_demo_book.py --check [FILE]

Standard library only; the output depends on nothing but the database.

Choices made here:
- Points and cantillation are dropped; maqaf becomes "-" and sof pasuq ":".
  Paseq, the upper dots, the inverted nun and the open/closed paragraph
  letters (a bare samekh or pe token) are dropped too.
- Where the written text (ketiv) differs from the reading (qere) the source
  gives both; the lesson shows "(ketiv) [qere]".
- A handful of verses lack their sof pasuq in the source; it is supplied, so
  every verse ends with ":".
- Slot 31 of Heshvan and Kislev is the lesson of day 29 when the month has
  only 29 days. It carries the portions of slots 29 and 30 together, so a
  short month still reads all of the text; in the source it follows day 28.
"""

import argparse
import os
import sqlite3
import sys

DEFAULT_DB = "/usr/share/bibledit-cloud/databases/oshb.sqlite"
DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources",
                           "demo_book.lekta")

BOOKS = [(1, "בראשית"), (2, "שמות"), (3, "ויקרא"), (4, "במדבר"), (5, "דברים")]
BOOK_TITLE = "חמשה חומשי תורה"

MAQAF = "\u05be"
SOF_PASUQ = "\u05c3"
FIRST_LETTER = 0x05D0
LAST_LETTER = 0x05EA

STYLE_HEADING = 0xB9  # bold, right-aligned, visual order, blank row after
MAX_LESSON_BYTES = 65535  # lesson offsets are 16-bit
MAX_INDEX_TITLE = 17


# ---------------------------------------------------------------- numerals

def hebrew_numeral(n):
    """Plain-letter Hebrew numeral for 1..999 (15 and 16 as tet-vav, tet-zayin)."""
    if not 1 <= n <= 999:
        raise ValueError("numeral out of range: %d" % n)
    hundreds = ["", "ק", "ר", "ש", "ת", "תק", "תר", "תש", "תת", "תתק"]
    tens = ["", "י", "כ", "ל", "מ", "נ", "ס", "ע", "פ", "צ"]
    ones = ["", "א", "ב", "ג", "ד", "ה", "ו", "ז", "ח", "ט"]
    rest = n % 100
    if rest == 15:
        tail = "טו"
    elif rest == 16:
        tail = "טז"
    else:
        tail = tens[rest // 10] + ones[rest % 10]
    return hundreds[n // 100] + tail


# ---------------------------------------------------------------- source text

def clean_word(token):
    """Keep the 27 letters, maqaf as '-', sof pasuq as ':'; drop every other mark."""
    out = []
    for ch in token:
        cp = ord(ch)
        if FIRST_LETTER <= cp <= LAST_LETTER:
            out.append(ch)
        elif ch == MAQAF:
            out.append("-")
        elif ch == SOF_PASUQ:
            out.append(":")
    return "".join(out)


def is_paragraph_marker(token):
    # Open and closed paragraph breaks appear as an unpointed samekh or pe of their own.
    return token in ("ס", "פ")


def verse_text(tokens):
    """Join one verse's tokens (words and spaces, in order) into a line of text.

    The source separates words with space tokens. A group that starts with an empty
    token and '/' holds the reading of the written word before it, its words split
    by '/'; a group without words is a bare separator (double accentuation) and is
    dropped.
    """
    groups = []
    current = []
    for tok in tokens:
        if tok != "" and tok.strip() == "":
            if current:
                groups.append(current)
            current = []
        else:
            current.append(tok)
    if current:
        groups.append(current)

    pieces = []  # cleaned words and joiners, in reading order
    for group in groups:
        if "/" in group:
            parts = [clean_word(t) for t in group if t not in ("", "/")]
            parts = [p for p in parts if p]
            if not parts:
                continue
            reading = join_pieces(parts)
            # Wrap the written form before it; a reading with nothing before it stands alone.
            if pieces and pieces[-1] not in ("-", ":"):
                pieces[-1] = "(" + pieces[-1] + ")"
            pieces.append("[" + reading + "]")
            continue
        for tok in group:
            if is_paragraph_marker(tok):
                continue
            word = clean_word(tok)
            if word:
                pieces.append(word)
    text = join_pieces(pieces)
    if not text.endswith(":"):
        text += ":"
    return text


def join_pieces(pieces):
    """Words take a space between them; '-' binds both neighbours, ':' the word before."""
    out = ""
    for p in pieces:
        if not out:
            out = p
        elif p == "-" or p == ":" or out.endswith("-"):
            out += p
        else:
            out += " " + p
    return out.strip()


class Verse:
    __slots__ = ("book", "chapter", "verse", "text")

    def __init__(self, book, chapter, verse, text):
        self.book = book
        self.chapter = chapter
        self.verse = verse
        self.text = text


def read_verses(db_path):
    if not os.path.exists(db_path):
        raise SystemExit("%s: not found (install the bibledit-cloud-data package)" % db_path)
    con = sqlite3.connect("file:%s?mode=ro" % db_path, uri=True)
    try:
        rows = con.execute(
            "SELECT o.book, o.chapter, o.verse, w.word FROM oshb o "
            "JOIN word w ON w.rowid = o.word WHERE o.book BETWEEN 1 AND 5 ORDER BY o.rowid")
        verses = []
        key = None
        tokens = []
        for book, chapter, verse, word in rows:
            if (book, chapter, verse) != key:
                if key is not None:
                    verses.append(Verse(*key, verse_text(tokens)))
                key = (book, chapter, verse)
                tokens = []
            tokens.append(word)
        if key is not None:
            verses.append(Verse(*key, verse_text(tokens)))
    finally:
        con.close()
    check_verse_order(verses)
    return verses


def check_verse_order(verses):
    """The arrangement assumes every chapter and verse in sequence; refuse anything else."""
    prev = None
    for v in verses:
        if prev is None:
            ok = (v.book, v.chapter, v.verse) == (1, 1, 1)
        elif v.book == prev.book and v.chapter == prev.chapter:
            ok = v.verse == prev.verse + 1
        elif v.book == prev.book:
            ok = v.chapter == prev.chapter + 1 and v.verse == 1
        else:
            ok = v.book == prev.book + 1 and v.chapter == 1 and v.verse == 1
        if not ok:
            raise SystemExit("unexpected verse order at %d %d:%d" % (v.book, v.chapter, v.verse))
        prev = v
    if not verses or verses[-1].book != 5:
        raise SystemExit("the database does not hold the five books")


# ---------------------------------------------------------------- schedule

def month_days(month, leap):
    if month in (8, 9):
        return 30
    if leap and month == 12:
        return 30
    if leap and month == 13:
        return 29
    return 30 if month in (1, 3, 5, 7, 11) else 29


def cycle_days(leap):
    """(month, day) of every reading day from 19 Kislev to 18 Kislev, slot 31 left out."""
    months = [10, 11, 12] + ([13] if leap else []) + [1, 2, 3, 4, 5, 6, 7, 8]
    days = [(9, d) for d in range(19, 31)]
    for m in months:
        days += [(m, d) for d in range(1, month_days(m, leap) + 1)]
    days += [(9, d) for d in range(1, 19)]
    return days


def split_evenly(weights, parts):
    """Cut a sequence into `parts` runs of about equal weight; each run is non-empty."""
    n = len(weights)
    if parts > n:
        raise ValueError("more lessons than verses")
    total = sum(weights)
    cuts = [0]
    acc = 0
    i = 0
    for k in range(1, parts):
        target = total * k / parts
        # Smallest end that keeps runs non-empty and leaves a verse for every later run.
        lo = cuts[-1] + 1
        hi = n - (parts - k)
        while i < lo:
            acc += weights[i]
            i += 1
        # Move on while that brings the cut closer to the target.
        while i < hi and abs(acc + weights[i] - target) <= abs(acc - target):
            acc += weights[i]
            i += 1
        cuts.append(i)
    cuts.append(n)
    return [(cuts[k], cuts[k + 1]) for k in range(parts)]


# ---------------------------------------------------------------- rendering

BOOK_NAME = dict(BOOKS)


def verse_ref(v, with_book):
    """Chapter and verse as a reader writes them: "ו,ו", with the book when it changes."""
    ref = "%s,%s" % (hebrew_numeral(v.chapter), hebrew_numeral(v.verse))
    return "%s %s" % (BOOK_NAME[v.book], ref) if with_book else ref


def verse_range(first, last):
    """A lesson's verses: "ו,ו-כ" within a chapter, "ו,ו - ז,ה" across chapters or books.

    The letter code has no en dash; the hyphen stands for it."""
    if (first.book, first.chapter) == (last.book, last.chapter):
        return "%s-%s" % (verse_ref(first, False), hebrew_numeral(last.verse))
    return "%s - %s" % (verse_ref(first, False), verse_ref(last, last.book != first.book))


def render_lesson(key, verses):
    first, last = verses[0], verses[-1]
    lines = [key]
    lines.append("title: %s %s" % (BOOK_NAME[first.book], hebrew_numeral(first.chapter)))
    lines.append("subtitle: " + verse_range(first, last))
    prev = None
    for v in verses:
        if prev is not None and (v.book, v.chapter) != (prev.book, prev.chapter):
            heading = "פרק " + hebrew_numeral(v.chapter)
            if v.book != prev.book:
                heading = BOOK_NAME[v.book] + " " + heading
            lines.append("rule")
            lines.append("p[style=0x%02X]: %s" % (STYLE_HEADING, heading))
        # Level 3: a label column two of the font's widest letters wide, room for any verse number.
        lines.append("label[%s, level=3]: %s" % (hebrew_numeral(v.verse), v.text))
        prev = v
    lines.append("rule")
    return lines


def lesson_directive(month, day, leap):
    return "@lesson %s%d/%d" % ("leap " if leap else "", month, day)


def arrange(verses, leap):
    """Lesson blocks of one arrangement in cycle order, and the run of verses of each day."""
    days = cycle_days(leap)
    weights = [len(v.text.encode("utf-8")) + 16 for v in verses]
    runs = dict(zip(days, split_evenly(weights, len(days))))
    blocks = []
    for month, day in days:
        if month in (8, 9) and day == 29:
            # The short month's day 29 reads what days 29 and 30 would have read.
            start = runs[(month, 29)][0]
            end = runs[(month, 30)][1]
            blocks.append(render_lesson(lesson_directive(month, 31, leap), verses[start:end]))
        start, end = runs[(month, day)]
        blocks.append(render_lesson(lesson_directive(month, day, leap), verses[start:end]))
    return blocks, runs


def render_index(verses, runs, leap_runs):
    """Books, runs of ten chapters, and each chapter at the lesson it begins in, regular and leap."""
    def lessons_of(arrangement):
        of = {}
        for (month, day), (start, end) in arrangement.items():
            for i in range(start, end):
                of[i] = (month, day)
        return of
    lesson_of, leap_lesson_of = lessons_of(runs), lessons_of(leap_runs)
    lines = ["@index"]
    for i, v in enumerate(verses):
        if v.verse != 1:
            continue
        if v.chapter == 1:
            lines.append("group 1: %s" % BOOK_NAME[v.book])
        if v.chapter % 10 == 1:
            last = min(v.chapter + 9, chapter_count(verses, v.book))
            if last > v.chapter:
                span = "%s-%s" % (hebrew_numeral(v.chapter), hebrew_numeral(last))
            else:
                span = hebrew_numeral(v.chapter)
            lines.append("group 2: פרקים %s" % span)
        lines.append("section 3 %d/%d leap %d/%d: פרק %s" % (
            lesson_of[i] + leap_lesson_of[i] + (hebrew_numeral(v.chapter),)))
    return lines


def chapter_count(verses, book):
    return max(v.chapter for v in verses if v.book == book)


def build(verses):
    out = [
        "# Demo book: the five books of the Torah, consonantal text, read through the year.",
        "# Generated by tools/make_demo_book.py from the Open Scripture Hebrew Bible",
        "# (Debian package bibledit-cloud-data); edit the script, not this file.",
        "@book " + BOOK_TITLE,
        "",
    ]
    regular, runs = arrange(verses, False)
    leap, leap_runs = arrange(verses, True)
    for block in regular + leap:
        out.extend(block)
        out.append("")
    out.extend(render_index(verses, runs, leap_runs))
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------- checking

def letter_code_length(text):
    """Bytes the text takes in the letter code, or None when a character is not allowed."""
    for ch in text:
        cp = ord(ch)
        if FIRST_LETTER <= cp <= LAST_LETTER or ch == " ":
            continue
        if 0x21 <= cp <= 0x7E and ch not in "{|}~" and not "a" <= ch <= "z":
            continue
        return None
    return len(text)


def parse_options(text):
    opts = {}
    if text:
        for item in text.split(","):
            name, sep, value = item.partition("=")
            if not sep:
                raise ValueError("bad option '%s'" % item)
            opts[name.strip()] = value.strip()
    return opts


def parse_key(text):
    """'m/d' or 'leap m/d' -> (leap, month, day), checked against the schedule's slots."""
    leap = text.startswith("leap ")
    if leap:
        text = text[5:]
    m, sep, d = text.partition("/")
    if not sep or not m.isdigit() or not d.isdigit():
        raise ValueError("bad lesson key '%s'" % text)
    month, day = int(m), int(d)
    if not 1 <= month <= (13 if leap else 12):
        raise ValueError("month out of range: %d" % month)
    if not (1 <= day <= month_days(month, leap) or (day == 31 and month in (8, 9))):
        raise ValueError("day out of range: %d/%d" % (month, day))
    return leap, month, day


def check(text, name="<book>"):
    """Check a book source against the format the packer reads.

    Returns the error lines and the size of every lesson in bytes as stored before packing.
    """
    errors = []
    lessons = {}  # (leap, month, day) -> [paragraph count, letter-code bytes]
    current = None
    in_index = False
    seen_content = False
    group_count = 0
    sections = []
    for lineno, raw in enumerate(text.split("\n"), 1):
        line = raw.rstrip()

        def err(msg):
            errors.append("%s:%d: %s" % (name, lineno, msg))

        if not line or line.startswith("#"):
            continue
        try:
            if line.startswith("@book"):
                if seen_content:
                    err("@book must come first")
                seen_content = True
                continue
            seen_content = True
            if line.startswith("@lesson "):
                if in_index:
                    err("lesson after the index")
                key = parse_key(line[8:].strip())
                if key in lessons:
                    err("duplicate lesson %s" % line[8:].strip())
                lessons[key] = [0, 4]
                current = key
                continue
            if line == "@index":
                if in_index:
                    err("second @index")
                in_index = True
                current = None
                continue
            if in_index:
                head, sep, title = line.partition(":")
                if not sep:
                    raise ValueError("index line without ':'")
                title = title.strip()
                words = head.split(None, 2)
                if words[0] == "group" and len(words) == 2:
                    group_count += 1
                elif words[0] == "section" and len(words) == 3:
                    # "M/D" or "leap M/D", or "M/D leap M/D": one lesson per arrangement.
                    first, both, second = words[2].partition(" leap ")
                    if both and not first.startswith("leap"):
                        sections.append((lineno, parse_key(first)))
                        key = parse_key("leap " + second)
                    else:
                        key = parse_key(words[2])
                    sections.append((lineno, key))
                else:
                    raise ValueError("bad index line")
                if not words[1].isdigit() or not 1 <= int(words[1]) <= 3:
                    raise ValueError("level must be 1..3")
                n = letter_code_length(title)
                if n is None:
                    raise ValueError("character not allowed in title")
                if not 1 <= n <= MAX_INDEX_TITLE:
                    raise ValueError("title of %d bytes (1..%d)" % (n, MAX_INDEX_TITLE))
                continue
            if current is None:
                raise ValueError("paragraph outside a lesson")
            count, size = lessons[current]
            head, sep, body = line.partition(":")
            if line == "rule" or line.startswith("rule["):
                head, body = line, ""
            elif not sep:
                raise ValueError("paragraph line without ':'")
            kind, _, opt = head.partition("[")
            label = None
            if opt:
                if not opt.endswith("]"):
                    raise ValueError("unclosed options")
                opt = opt[:-1]
                if kind == "label":
                    label, _, opt = opt.partition(",")
                    label = label.strip()
            opts = parse_options(opt)
            if kind not in ("title", "subtitle", "p", "label", "rule"):
                raise ValueError("unknown paragraph kind '%s'" % kind)
            if kind == "title" and count != 0:
                raise ValueError("title must be the first paragraph")
            if "style" in opts and not 1 <= int(opts["style"], 16) <= 0xFF:
                raise ValueError("bad style")
            stored = body.strip()
            if kind == "label":
                if not label:
                    raise ValueError("label without its label")
                stored = label + " " + stored
            n = letter_code_length(stored)
            if n is None:
                raise ValueError("character not allowed")
            if n + 3 > MAX_LESSON_BYTES:
                raise ValueError("paragraph too long")
            lessons[current] = [count + 1, size + n + 3]
        except ValueError as e:
            err(str(e))

    for (leap, month, day), (count, size) in lessons.items():
        where = "%s: lesson %s%d/%d" % (name, "leap " if leap else "", month, day)
        if count == 0:
            errors.append(where + " is empty")
        if size > MAX_LESSON_BYTES:
            errors.append("%s has %d bytes (at most %d)" % (where, size, MAX_LESSON_BYTES))
    for leap in (False, True):
        have = [k for k in lessons if k[0] == leap]
        if leap and not have:
            continue
        for month in range(1, 14 if leap else 13):
            slots = list(range(1, month_days(month, leap) + 1))
            if month in (8, 9):
                slots.append(31)
            missing = [d for d in slots if (leap, month, d) not in lessons]
            if missing:
                errors.append("%s: %s month %d lacks days %s" % (
                    name, "leap" if leap else "regular", month, missing))
            # Packing grows a record by at most its two high bytes (style and measure,
            # escaped as literals) and never grows letter-code text, so a month whose
            # bound stays below the limit always fits. Record headers take 4 bytes each.
            raw = sum(lessons[(leap, month, d)][1] + 2 * lessons[(leap, month, d)][0] + 4
                      for d in slots if (leap, month, d) in lessons)
            if raw + 10 > 0xFFFF:
                errors.append("%s: month %d%s holds %d bytes before packing; check that it "
                              "packs below 64 KB" % (name, month, " (leap)" if leap else "", raw))
    for lineno, key in sections:
        if key not in lessons:
            errors.append("%s:%d: section names a missing lesson" % (name, lineno))
    if group_count > 0x3FFE - 0x3F00 + 1:
        errors.append("%s: too many index groups" % name)
    return errors, [size for _, size in lessons.values()]


# ---------------------------------------------------------------- main

def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--db", default=DEFAULT_DB, help="path of oshb.sqlite")
    ap.add_argument("--out", default=DEFAULT_OUT, help="book source to write")
    ap.add_argument("--check", nargs="?", const="", metavar="FILE",
                    help="only check a book source (default: the --out file)")
    args = ap.parse_args(argv)

    if args.check is not None:
        path = args.check or args.out
        with open(path, encoding="utf-8") as f:
            text = f.read()
    else:
        text = build(read_verses(args.db))
    errors, sizes = check(text, os.path.relpath(args.check or args.out))
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        return 1
    if args.check is None:
        tmp = args.out + ".tmp"
        with open(tmp, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        os.replace(tmp, args.out)
    sizes.sort()
    print("%s: %d bytes, %d lessons, lesson bytes min %d avg %d max %d" % (
        os.path.relpath(args.out if args.check is None else (args.check or args.out)),
        len(text.encode("utf-8")), len(sizes), sizes[0], sum(sizes) // len(sizes), sizes[-1]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
