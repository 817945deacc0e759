"""Reads the calendars write_calendars made back with python3-icalendar, a second and
independent iCalendar implementation, and compares every event with the grid rows it was made
from: the texts are worked out here again from the schedule line and the cells.

    read_calendars.py <folder written by write_calendars>
"""

import datetime
import os
import sys
import time

import icalendar

GRADED = set(b"ABCDFGH")
DESCRIBED = [(7, "種別"), (8, "記号"), (9, "重量"), (10, "距離"), (11, "ﾄﾗｯｸ")]
SAFE = set(b"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def trim(text):
    return text.strip(" \u3000")


def uid(line):
    return "".join(chr(b) if b in SAFE else "%%%02X" % b for b in line[11:27]) + "@koyomivw"


def expected_event(line, cells, venue_name):
    date = datetime.date(int(line[11:15]), int(line[15:17]), int(line[17:19]))
    summary = " ".join(
        part for part in (trim(cells[3]), "%d回%d日" % (int(line[21:23]), int(line[23:25]))) if part
    )
    category = None
    if line[131] in GRADED:
        category = trim(cells[6])
        summary += " %s(%s)" % (trim(cells[13]), category)
    description = "\n".join(
        "%s: %s" % (heading, trim(cells[column]))
        for column, heading in DESCRIBED
        if trim(cells[column])
    )
    return {
        "date": date,
        "uid": uid(line),
        "summary": summary,
        "location": trim(venue_name) or None,
        "description": description or None,
        "category": category,
    }


def check_form(name, raw):
    check(raw.endswith(b"\r\n"), name + ": does not end with CR LF")
    for number, physical in enumerate(raw.split(b"\r\n")[:-1], 1):
        where = "%s line %d" % (name, number)
        check(len(physical) <= 75, where + ": %d octets" % len(physical))
        check(b"\n" not in physical and b"\r" not in physical, where + ": bare line end")
        try:
            physical.decode("utf-8")
        except UnicodeDecodeError:
            failures.append(where + ": a character is split by the folding")


def text_of(component, key):
    value = component.get(key)
    return None if value is None else str(value)


def check_calendar(folder, name):
    with open(os.path.join(folder, name + ".ics"), "rb") as file:
        raw = file.read()
    with open(os.path.join(folder, name + ".rows"), encoding="utf-8", newline="\n") as file:
        header, *rows = file.read().split("\n")[:-1]
    title, stamp = header.split("\t")
    check_form(name, raw)

    calendar = icalendar.Calendar.from_ical(raw)
    check(str(calendar.get("VERSION")) == "2.0", name + ": VERSION")
    check(str(calendar.get("PRODID", "")).startswith("-//koyomivw//"), name + ": PRODID")
    check(str(calendar.get("X-WR-CALNAME")) == title, name + ": X-WR-CALNAME")
    local = time.mktime(time.strptime(stamp, "%Y%m%d%H%M%S"))
    utc_stamp = datetime.datetime.fromtimestamp(local, datetime.timezone.utc)

    events = calendar.walk("VEVENT")
    check(len(events) == len(rows), "%s: %d events for %d rows" % (name, len(events), len(rows)))
    for number, (event, row) in enumerate(zip(events, rows), 1):
        fields = row.split("\t")
        want = expected_event(bytes.fromhex(fields[0]), fields[1:15], fields[15])
        where = "%s row %d" % (name, number)
        start, end = event.decoded("DTSTART"), event.decoded("DTEND")
        check(type(start) is datetime.date and start == want["date"], where + ": DTSTART %s" % start)
        check(end == want["date"] + datetime.timedelta(days=1), where + ": DTEND %s" % end)
        check(event.decoded("DTSTAMP") == utc_stamp, where + ": DTSTAMP")
        for key in ("uid", "summary", "location", "description"):
            got = text_of(event, key.upper())
            check(got == want[key], "%s: %s %r, expected %r" % (where, key, got, want[key]))
        categories = event.get("CATEGORIES")
        got = None if categories is None else ",".join(str(c) for c in categories.cats)
        check(got == want["category"], "%s: categories %r" % (where, got))
    uids = [str(event["UID"]) for event in events]
    check(len(set(uids)) == len(uids), name + ": two events share a UID")
    return len(events)


def main(folder):
    with open(os.path.join(folder, "calendars.txt"), encoding="utf-8") as file:
        names = file.read().split()
    check(names == ["year", "venue", "graded", "empty", "punctuation"], "calendars: %s" % names)
    counts = {name: check_calendar(folder, name) for name in names}
    check(counts.get("year", 0) >= 100, "a year of the sample service has %s days" % counts.get("year"))
    check(0 < counts.get("venue", 0) < counts.get("year", 0), "venue list: %s" % counts.get("venue"))
    check(0 < counts.get("graded", 0) < counts.get("year", 0), "graded: %s" % counts.get("graded"))
    check(counts.get("empty") == 0, "the empty list has events")
    check(counts.get("punctuation") == 4, "punctuation: %s" % counts.get("punctuation"))

    blocked = os.path.join(folder, "blocked.ics")
    with open(os.path.join(folder, "failed-write.txt"), encoding="utf-8") as file:
        reason = file.read().strip()
    check(reason.startswith(blocked + ": "), "failed write reported as %r" % reason)
    check(os.path.isdir(blocked) and not os.listdir(blocked), "the blocked name was touched")
    stray = [n for n in os.listdir(folder) if ".~" in n]
    check(not stray, "temporary files left: %s" % stray)

    for failure in failures:
        print("FAIL " + failure)
    print("%d calendars, %d events, %d failures" % (len(counts), sum(counts.values()), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
