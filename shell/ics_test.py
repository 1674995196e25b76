#!/usr/bin/env python3
"""The --ics calendar read back by a real iCalendar parser and held against --print.

Usage: ics_test.py LEKTA
"""
import datetime
import subprocess
import sys

import icalendar

LEKTA = sys.argv[1]


def run(*args):
    return subprocess.run([LEKTA, *args], check=True, capture_output=True).stdout


def printed(day):
    """The date line, the title and the subtitle that --print gives for a civil day."""
    lines = [l for l in run("--print", "--date", day.isoformat()).decode().splitlines() if l]
    return lines[0], lines[1], lines[2]


failures = []
# 5787 has two Adars (385 days), 5786 one (354); 2026-12-08 lies in 5787.
for year, days, probes in [(5787, 385, [datetime.date(2026, 12, 8), datetime.date(2027, 3, 1),
                                        datetime.date(2026, 9, 12), datetime.date(2027, 10, 1)]),
                           (5786, 354, [datetime.date(2025, 9, 23), datetime.date(2026, 2, 20),
                                        datetime.date(2026, 9, 11)])]:
    text = run("--ics", str(year))
    calendar = icalendar.Calendar.from_ical(text)
    events = [c for c in calendar.walk() if c.name == "VEVENT"]
    if len(events) != days:
        failures.append(f"{year}: {len(events)} events, not {days}")
    starts = [e.decoded("DTSTART") for e in events]
    if any(not isinstance(s, datetime.date) or isinstance(s, datetime.datetime) for s in starts):
        failures.append(f"{year}: an event that is not all-day")
    if starts != [starts[0] + datetime.timedelta(days=i) for i in range(len(starts))]:
        failures.append(f"{year}: days missing or repeated")
    if any(e.decoded("DTEND") - e.decoded("DTSTART") != datetime.timedelta(days=1) for e in events):
        failures.append(f"{year}: an event longer than a day")
    uids = [str(e["UID"]) for e in events]
    if len(set(uids)) != len(uids):
        failures.append(f"{year}: UIDs repeat")
    # A second export names the same days the same way, so a calendar updates them.
    again = icalendar.Calendar.from_ical(run("--ics", str(year)))
    if [str(e["UID"]) for e in again.walk("VEVENT")] != uids:
        failures.append(f"{year}: UIDs differ between two exports")
    if any(len(line) > 75 for line in text.split(b"\r\n")):
        failures.append(f"{year}: a line longer than 75 octets")
    by_day = {e.decoded("DTSTART"): e for e in events}
    for day in probes:
        date_line, title, subtitle = printed(day)
        event = by_day.get(day)
        if event is None:
            failures.append(f"{day}: no event")
            continue
        if str(event["SUMMARY"]) != f"{title} \u2014 {subtitle}":
            failures.append(f"{day}: summary {event['SUMMARY']!r}, printed {title!r} {subtitle!r}")
        if str(event["DESCRIPTION"]) != date_line:
            failures.append(f"{day}: description {event['DESCRIPTION']!r}, printed {date_line!r}")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
