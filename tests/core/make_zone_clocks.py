#!/usr/bin/env python3
"""Writes zone_clocks.inc: local clock times and what Python's zoneinfo
(which reads the TZif files' POSIX footers itself) says of them, for the
zone tests to compare ZoneAt with.

    python3 tests/core/make_zone_clocks.py > tests/core/zone_clocks.inc

Made on Debian 12 with tzdata 2025b. A later tzdata that changes a
country's future rules changes the table: run this again.

With --all the same probes go to standard output for every zone of the
system database, in the same form, one per line without the braces, for a
wider comparison outside the test suite.
"""

import os
import sys
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo

ROOT = "/usr/share/zoneinfo"

# One zone for each summer-time rule the footers use, both hemispheres,
# half-hour and 45-minute zones, negative summer time (Dublin), a change
# at negative time of day (Nuuk), zones without summer time.
ZONES = [
    "America/New_York", "America/Chicago", "America/Denver", "America/Los_Angeles", "America/Anchorage",
    "America/Adak", "America/Halifax", "America/St_Johns", "America/Havana", "America/Santiago",
    "Pacific/Easter", "America/Asuncion", "America/Nuuk", "America/Scoresbysund", "America/Miquelon",
    "Atlantic/Azores", "Europe/London", "Europe/Dublin", "Europe/Lisbon", "Europe/Paris", "Europe/Berlin",
    "Europe/Athens", "Europe/Helsinki", "Europe/Chisinau", "Asia/Beirut", "Africa/Cairo", "Asia/Jerusalem",
    "Asia/Gaza", "Australia/Sydney", "Australia/Adelaide", "Australia/Hobart", "Australia/Lord_Howe",
    "Pacific/Auckland", "Pacific/Chatham", "Pacific/Norfolk", "Antarctica/Troll",
    "Asia/Kolkata", "Asia/Kathmandu", "Asia/Tokyo", "Australia/Perth", "America/Phoenix", "Pacific/Honolulu",
    "Africa/Johannesburg", "America/Sao_Paulo", "Asia/Tehran", "Africa/Casablanca", "UTC",
]

# Local mean times, to the second.
EARLY = [
    ("Africa/Casablanca", datetime(1906, 6, 1, 12, 0)),
    ("Europe/Amsterdam", datetime(1930, 6, 1, 12, 0)),
    ("Asia/Kolkata", datetime(1850, 6, 1, 12, 0)),
    ("Europe/Dublin", datetime(1900, 6, 1, 12, 0)),
    ("America/New_York", datetime(1880, 1, 1, 12, 0)),
]


def probe(zone, wall):
    """(offset seconds, summer time, status) of a local clock time."""
    tz = ZoneInfo(zone)
    first = wall.replace(tzinfo=tz, fold=0)
    second = wall.replace(tzinfo=tz, fold=1)
    if first.utcoffset() == second.utcoffset():
        status = "Ok"
    else:
        back = first.astimezone(timezone.utc).astimezone(tz).replace(tzinfo=None)
        status = "Repeated" if back == wall else "Skipped"
    if status == "Skipped":
        return 0, False, status
    return int(first.utcoffset().total_seconds()), bool(first.dst()), status


def changes(zone, year):
    """The universal moments of the year at which the zone's offset changes."""
    tz = ZoneInfo(zone)
    found = []
    moment = datetime(year, 1, 1, tzinfo=timezone.utc)
    end = datetime(year + 1, 1, 1, tzinfo=timezone.utc)
    previous = moment.astimezone(tz).utcoffset()
    while moment < end:
        step = moment + timedelta(hours=1)
        offset = step.astimezone(tz).utcoffset()
        if offset != previous:
            found.append((step, previous, offset))
            previous = offset
        moment = step
    return found


def walls(zone, season_years, change_years):
    out = []
    for year in season_years:
        out += [datetime(year, 1, 15, 12, 0), datetime(year, 7, 15, 12, 0)]
    for year in change_years:
        for moment, before, after in changes(zone, year):
            # The clock as it read just before the change, and as it reads after.
            old = (moment + before).replace(tzinfo=None)
            new = (moment + after).replace(tzinfo=None)
            low, high = min(old, new), max(old, new)
            middle = low + (high - low) / 2
            middle = middle.replace(second=0, microsecond=0)
            out += [low - timedelta(minutes=1), middle, high, high - timedelta(minutes=1)]
    return out


def rows(zones, season_years, change_years):
    for zone in zones:
        for wall in walls(zone, season_years, change_years):
            offset, summer, status = probe(zone, wall)
            yield zone, wall, offset, summer, status


def line(zone, wall, offset, summer, status):
    return '"%s", %d, %d, %d, %d, %d, %d, %s, LocalTimeStatus::%s' % (
        zone, wall.year, wall.month, wall.day, wall.hour, wall.minute, offset, "true" if summer else "false",
        status)


def all_zones():
    for folder, _, files in os.walk(ROOT):
        if folder.startswith(os.path.join(ROOT, "posix")) or folder.startswith(os.path.join(ROOT, "right")):
            continue
        for name in files:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                if f.read(4) != b"TZif":
                    continue
            yield os.path.relpath(path, ROOT)


def main():
    if sys.argv[1:] == ["--all"]:
        for row in rows(sorted(all_zones()), range(2038, 2051), range(2036, 2051)):
            print(line(*row))
        return
    print("// Made by make_zone_clocks.py from Python's zoneinfo; do not edit.")
    for row in rows(ZONES, [2038, 2045, 2050], [2039, 2047]):
        print("{%s}," % line(*row))
    for zone, wall in EARLY:
        print("{%s}," % line(zone, wall, *probe(zone, wall)))


if __name__ == "__main__":
    main()
