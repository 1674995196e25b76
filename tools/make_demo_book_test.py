#!/usr/bin/env python3
"""Tests of the demo book generator: python3 tools/make_demo_book_test.py"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_demo_book as m  # noqa: E402

SP = " "
# A subtitle's verse range as a reference: "ו,ו-כ", "ו,ו - ז,ה", "נ,כ - שמות א,ג".
REFERENCE = r"^subtitle: [א-ת]+,[א-ת]+(-[א-ת]+| - ([א-ת]+ )?[א-ת]+,[א-ת]+)$"


class NumeralTest(unittest.TestCase):
    def test_numerals(self):
        cases = {1: "א", 9: "ט", 10: "י", 11: "יא", 15: "טו", 16: "טז", 17: "יז", 20: "כ",
                 50: "נ", 89: "פט", 100: "ק", 115: "קטו", 116: "קטז", 176: "קעו"}
        for n, text in cases.items():
            self.assertEqual(m.hebrew_numeral(n), text, n)
        for bad in (0, 1000):
            with self.assertRaises(ValueError):
                m.hebrew_numeral(bad)


class VerseTextTest(unittest.TestCase):
    def test_marks_dropped_maqaf_and_sof_pasuq_kept(self):
        tokens = ["וַיְהִי\u0591", SP, "עַל", SP, "\u05be", SP, "פְּנֵי", SP, "\u05c0", SP,
                  "הַמָּֽיִם", SP, "\u05c3"]
        self.assertEqual(m.verse_text(tokens), "ויהי על-פני המים:")

    def test_paragraph_markers_and_missing_sof_pasuq(self):
        tokens = ["וַיְהִי", SP, "אַחֲרֵי", SP, SP, "פ"]
        self.assertEqual(m.verse_text(tokens), "ויהי אחרי:")
        tokens = ["לֵאמֹר", SP, "\u05c3", SP, "ס"]
        self.assertEqual(m.verse_text(tokens), "לאמר:")

    def test_written_and_read_forms(self):
        # One reading word, several, and several joined by maqaf.
        self.assertEqual(m.verse_text(["הוצא", SP, "", "/", "הַיְצֵא", SP, "אִתָּךְ", SP, "׃"]),
                         "(הוצא) [היצא] אתך:")
        self.assertEqual(m.verse_text(["בגד", SP, "", "/", "בָּא", "/", "גָד", SP, "׃"]),
                         "(בגד) [בא גד]:")
        self.assertEqual(
            m.verse_text(["מזה", SP, "", "/", "מַה", "/", "\u05be", "/", "זֶּה", SP, "בְיָדֶךָ"]),
            "(מזה) [מה-זה] בידך:")

    def test_empty_reading_groups_are_separators(self):
        tokens = ["לְךָ", SP, "", "/", "", SP, SP, "אֱלֹהִים", SP, "/", "", SP, "אֲחֵרִים", SP,
                  "", "/", "", SP, "\u05c3"]
        self.assertEqual(m.verse_text(tokens), "לך אלהים אחרים:")


class ScheduleTest(unittest.TestCase):
    def test_cycle_days(self):
        for leap, count in ((False, 355), (True, 385)):
            days = m.cycle_days(leap)
            self.assertEqual(len(days), count)
            self.assertEqual(len(set(days)), count)
            self.assertEqual(days[0], (9, 19))
            self.assertEqual(days[-1], (9, 18))
            self.assertNotIn((8, 31), days)
            self.assertEqual((13, 29) in days, leap)
            self.assertEqual((12, 30) in days, leap)
            self.assertIn((8, 30), days)
        regular = m.cycle_days(False)
        self.assertEqual(regular[regular.index((12, 29)) + 1], (1, 1))

    def test_split_evenly(self):
        for weights, parts in (([5] * 10, 10), ([1] * 100, 7), ([100, 1, 1, 1, 1, 1, 1, 1], 4),
                               ([1, 1, 1, 1, 1, 1, 1, 100], 4)):
            runs = m.split_evenly(weights, parts)
            self.assertEqual(len(runs), parts)
            self.assertEqual(runs[0][0], 0)
            self.assertEqual(runs[-1][1], len(weights))
            for (a, b), (c, _) in zip(runs, runs[1:]):
                self.assertEqual(b, c)
            for a, b in runs:
                self.assertLess(a, b)
        self.assertEqual([b - a for a, b in m.split_evenly([1] * 100, 10)], [10] * 10)
        with self.assertRaises(ValueError):
            m.split_evenly([1, 1], 3)


def synthetic_verses():
    """Five books of 12 chapters of 8 verses, each verse a little longer than the last."""
    verses = []
    n = 0
    for book in range(1, 6):
        for chapter in range(1, 13):
            for verse in range(1, 9):
                n += 1
                verses.append(m.Verse(book, chapter, verse, "אב" * (5 + n % 17) + ":"))
    return verses


def lessons_of(text):
    """Lesson directive -> its paragraph lines."""
    out = {}
    key = None
    for line in text.split("\n"):
        if line.startswith("@lesson "):
            key = line[8:]
            out[key] = []
        elif line.startswith("@index"):
            key = None
        elif key and line:
            out[key].append(line)
    return out


class BuildTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.verses = synthetic_verses()
        cls.text = m.build(cls.verses)
        cls.lessons = lessons_of(cls.text)

    def test_build_passes_check_and_covers_both_arrangements(self):
        errors, sizes = m.check(self.text)
        self.assertEqual(errors, [])
        self.assertEqual(len(sizes), 355 + 2 + 385 + 2)

    def test_text_flows_through_each_arrangement_once(self):
        for prefix in ("", "leap "):
            labels = []
            for month, day in m.cycle_days(prefix == "leap "):
                body = self.lessons[prefix + "%d/%d" % (month, day)]
                self.assertTrue(body[0].startswith("title: "))
                self.assertTrue(body[1].startswith("subtitle: "))
                self.assertEqual(body[-1], "rule")
                labels += [line for line in body if line.startswith("label[")]
            self.assertEqual(len(labels), len(self.verses))

    def test_slot_31_reads_days_29_and_30(self):
        for key in ("8", "9", "leap 8", "leap 9"):
            both = [line for line in self.lessons[key + "/29"] + self.lessons[key + "/30"]
                    if line.startswith("label[")]
            short = [line for line in self.lessons[key + "/31"] if line.startswith("label[")]
            self.assertEqual(short, both)

    def test_subtitles_read_as_references(self):
        def subtitle(first, last):
            return m.render_lesson("@lesson 1/1", [m.Verse(*first, "א:"), m.Verse(*last, "ב:")])[2]
        self.assertEqual(subtitle((1, 6, 6), (1, 6, 20)), "subtitle: ו,ו-כ")
        self.assertEqual(subtitle((1, 6, 6), (1, 7, 5)), "subtitle: ו,ו - ז,ה")
        self.assertEqual(subtitle((1, 50, 20), (2, 1, 3)), "subtitle: נ,כ - שמות א,ג")
        for line in self.text.split("\n"):
            if line.startswith("subtitle: "):
                self.assertRegex(line, REFERENCE)

    def test_chapter_headings_and_index(self):
        lesson = m.render_lesson("@lesson 1/1", [m.Verse(1, 1, 2, "א:"), m.Verse(1, 2, 1, "ב:"),
                                                 m.Verse(2, 1, 1, "ג:")])
        self.assertEqual(lesson, [
            "@lesson 1/1", "title: בראשית א", "subtitle: א,ב - שמות א,א", "label[ב, level=3]: א:",
            "rule", "p[style=0xB9]: פרק ב", "label[א, level=3]: ב:",
            "rule", "p[style=0xB9]: שמות פרק א", "label[א, level=3]: ג:", "rule"])
        index = self.text[self.text.index("@index"):].split("\n")
        self.assertEqual(sum(line.startswith("group 1: ") for line in index), 5)
        self.assertIn("group 2: פרקים יא-יב", index)
        sections = [line for line in index if line.startswith("section 3 ")]
        self.assertEqual(len(sections), 60)
        self.assertEqual(sections[0], "section 3 9/19 leap 9/19: פרק א")
        # Each chapter points at the lesson of each arrangement that holds its first verse.
        for line in sections:
            words = line.split()
            for key in (words[2], "leap " + words[4].rstrip(":")):
                self.assertIn("label[א, level=3]: ", "\n".join(self.lessons[key]))


class CheckTest(unittest.TestCase):
    def book(self, extra_lesson="", index="@index\ngroup 1: א\nsection 2 1/1: ב\n"):
        lines = ["@book ספר"]
        for leap in (False,):
            for month in range(1, 13):
                days = list(range(1, m.month_days(month, leap) + 1))
                if month in (8, 9):
                    days.append(31)
                for day in days:
                    lines += ["@lesson %d/%d" % (month, day), "title: כותרת", "p: גוף הטקסט",
                              "rule"]
        return "\n".join(lines) + "\n" + extra_lesson + index

    def errors(self, text):
        return m.check(text, "b")[0]

    def test_minimal_book_passes(self):
        self.assertEqual(self.errors(self.book()), [])

    def test_faults_are_reported_with_their_line(self):
        good = self.book()
        cases = {
            "missing lesson": good.replace("@lesson 3/7\n", "@lesson 3/31\n"),
            "duplicate": good.replace("@lesson 3/7\n", "@lesson 3/6\n"),
            "vowel point": good.replace("p: גוף", "p: גֹוף", 1),
            "latin lowercase": good.replace("p: גוף", "p: abc", 1),
            "brace": good.replace("p: גוף", "p: {x}", 1),
            "title not first": good.replace("title: כותרת\np: גוף הטקסט", "p: גוף\ntitle: כ", 1),
            "unknown kind": good.replace("rule", "line: א", 1),
            "section to a missing lesson": self.book(index="@index\nsection 3 leap 1/1: א\n"),
            "long index title": self.book(index="@index\ngroup 1: %s\n" % ("א" * 18)),
            "lesson after index": good + "@lesson 1/1\n",
            "lesson too big": good.replace("p: גוף הטקסט", ("p: " + "א" * 30000 + "\n") * 3, 1),
        }
        expected = {"missing lesson": "lacks days [7]", "duplicate": "duplicate",
                    "section to a missing lesson": "missing lesson", "long index title": "18",
                    "lesson too big": "bytes", "title not first": "first"}
        for what, text in cases.items():
            errors = self.errors(text)
            self.assertNotEqual(errors, [], what)
            self.assertIn(expected.get(what, ""), " ".join(errors), what)

    def test_leap_arrangement_must_be_complete(self):
        self.assertNotEqual(self.errors(self.book(extra_lesson="@lesson leap 13/1\np: א\n")), [])


class CommittedBookTest(unittest.TestCase):
    PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources",
                        "demo_book.lekta")

    @unittest.skipUnless(os.path.exists(PATH), "no demo book")
    def test_committed_book_checks(self):
        with open(self.PATH, encoding="utf-8") as f:
            errors, sizes = m.check(f.read(), "demo_book.lekta")
        self.assertEqual(errors, [])
        self.assertEqual(len(sizes), 744)

    @unittest.skipUnless(os.path.exists(PATH), "no demo book")
    def test_committed_subtitles_are_references(self):
        with open(self.PATH, encoding="utf-8") as f:
            subtitles = [line for line in f.read().split("\n") if line.startswith("subtitle: ")]
        self.assertEqual(len(subtitles), 744)
        for line in subtitles:
            self.assertRegex(line, REFERENCE)
        import resubtitle_demo_book as r
        self.assertEqual(r.resubtitle("subtitle: א א - א יח"), "subtitle: א,א-יח")
        self.assertEqual(r.resubtitle("subtitle: נ כ - שמות א ג"), "subtitle: נ,כ - שמות א,ג")
        self.assertEqual(r.resubtitle("subtitle: א,א-יח"), "subtitle: א,א-יח")


if __name__ == "__main__":
    unittest.main()
