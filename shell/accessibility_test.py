"""The reader read through the accessibility bus (run by accessibility_test.sh).

Checks: the lesson of 8 December 2026 reads in reading order as --print writes it, title
first; every tool button has a name; the date strip reads the Hebrew and the civil date; a day
chosen in the calendar and a section chosen in the index by keys alone land where they should.
Prints one line per check and 'N passed, N failed' at the end."""

import subprocess
import sys
import time

import pyatspi

PRINTED = sys.argv[1]
results = []


def check(name, ok, detail=""):
    results.append(ok)
    print(("ok    " if ok else "FAIL  ") + name + ("" if ok else ": " + detail), flush=True)
    return ok


def wait_for(what, probe, seconds=15):
    """probe() until it gives something true; fails the test at once when it never does."""
    end = time.time() + seconds
    while time.time() < end:
        try:
            value = probe()
        except Exception:  # the tree changes under us while windows open and close
            value = None
        if value:
            return value
        time.sleep(0.1)
    check(what, False, "not seen within %d s" % seconds)
    finish()


def finish():
    failed = results.count(False)
    print("%d passed, %d failed" % (len(results) - failed, failed))
    sys.exit(1 if failed else 0)


def reader():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "lekta":
            return app
    return None


def descendants(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for child in node:
        yield from descendants(child, depth + 1)


def find(top, role, name=None):
    return [n for n in descendants(top)
            if n.getRoleName() == role and (name is None or n.name == name)]


def window(title):
    """A window by its title; the reader's own title ends with the program's name."""
    app = reader()
    if not app:
        return None
    return next((w for w in app if w is not None and
                 (w.name == title or (title == "Lekta" and w.name.endswith(" Lekta")))), None)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(names), check=True)
    time.sleep(0.3)


def focused(top, role):
    return next((n for n in find(top, role) if n.getState().contains(pyatspi.STATE_FOCUSED)),
                None)


def strip_text():
    labels = find(window("Lekta"), "label")
    return labels[0].name if labels else ""


main = wait_for("the reader on the bus", lambda: window("Lekta"))
document = wait_for("the lesson as a document", lambda: find(main, "document frame"))[0]
text = wait_for("the lesson's text", lambda: document.queryText().getText(0, -1))

# The bus reads what --print writes, line by line, after its date line.
with open(PRINTED, encoding="utf-8") as f:
    printed = [line.rstrip() for line in f.read().splitlines()[1:] if line.strip()]
bus = text.split("\n")
check("the lesson reads in reading order, title first", bus[:6] == printed[:6],
      "bus %r, --print %r" % (bus[:3], printed[:3]))
headings = find(document, "heading")
paragraphs = find(document, "paragraph")
check("the title and subtitle are headings",
      [h.queryText().getText(0, -1) for h in headings[:2]] == printed[:2],
      repr([h.name for h in headings]))
check("the first verse is the first paragraph",
      bool(paragraphs) and paragraphs[0].name == printed[2], repr(paragraphs[:1]))
check("the reading position is at the top", document.queryText().caretOffset == 0,
      str(document.queryText().caretOffset))

buttons = find(main, "push button")
check("eight tool buttons, every one named", len(buttons) == 8 and all(b.name for b in buttons),
      repr([b.name for b in buttons]))
check("the date strip reads the day",
      strip_text() == "\u05db\u05d7 \u05db\u05e1\u05dc\u05d5 \u05d4'\u05ea\u05e9\u05e4\u05d6, "
                      "Tuesday 8 December 2026", strip_text())

# Keys go to the active window.
wait_for("the reader is the active window",
         lambda: window("Lekta").getState().contains(pyatspi.STATE_ACTIVE))

# The calendar: Ctrl+D, the day typed, Return.
keys("ctrl+d")
calendar = wait_for("the calendar opens", lambda: window("Hebrew Calendar"))
keys("1", "5")
day = wait_for("a typed day takes the focus", lambda: focused(calendar, "table cell"))
check("the day reads as its Hebrew and civil date",
      day.name == "\u05d8\u05d5 \u05db\u05e1\u05dc\u05d5, Wednesday 25 November", day.name)
keys("Return")
wait_for("the calendar's day is shown", lambda: "Wednesday 25 November 2026" in strip_text())
check("the calendar by keys lands on the day typed", True)
announced = document.parent.name
check("the new day is announced with its lesson's title",
      "Wednesday 25 November 2026: " in announced and announced.endswith(
          find(window("Lekta"), "heading")[0].name), announced)

# The index: Ctrl+I, Tab away and back into the tree, open Genesis and its first chapters,
# choose the first chapter.
keys("ctrl+i")
index = wait_for("the index opens", lambda: window("Choose Section"))
keys("Tab", "Tab")
entry = wait_for("Tab gives the tree a cursor", lambda: focused(index, "table cell"))
check("the cursor stands on the first part, closed",
      entry.name == "\u05d1\u05e8\u05d0\u05e9\u05d9\u05ea"
      and entry.getState().contains(pyatspi.STATE_COLLAPSED), entry.name)
keys("Right", "Down", "Right", "Down")
entry = wait_for("the cursor moved", lambda: focused(index, "table cell"))
check("Right opens and Down moves to the first chapter",
      entry.name == "\u05e4\u05e8\u05e7 \u05d0" and entry.description == "level 3",
      "%s, %s" % (entry.name, entry.description))
keys("Return")
title = wait_for("the chosen section is shown", lambda: next(
    (h.name for h in find(window("Lekta"), "heading")[:1]
     if h.name == "\u05d1\u05e8\u05d0\u05e9\u05d9\u05ea \u05d0"), None))
# 15 Kislev 5787 is in the cycle that began on 19 Kislev 5786 with Genesis 1.
check("the index by keys lands on the chapter's lesson in this cycle",
      "Tuesday 9 December 2025" in strip_text(), strip_text())
finish()
