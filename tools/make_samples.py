#!/usr/bin/env python3
"""Make the sample sources that Zandrel installs on its first start.

Run from anywhere: python3 tools/make_samples.py
It (re)writes three files in share/, always with the same bytes:

d1   Draw history of the sample lotto Canada_6_49, a 6/49 game with a bonus.
     Draws on every Wednesday and Saturday from 2020-01-01 to 2026-11-28,
     oldest first. Each draw is seven distinct numbers taken uniformly from
     1..49 by a generator with a fixed seed: the first six, sorted, are the
     main numbers, the seventh is the bonus.
     Line: yyyy-MM-dd N1 N2 N3 N4 N5 N6 NB, each field followed by one
     blank, CR LF at the end.

d1a  The lotto's 52-byte parameter record (little-endian): int16 numbers in
     play, int16 numbers picked, eleven float32 (prizes 2..6, prizes
     2+bonus..6+bonus, cost of one play), uint16 currency length, the
     currency "$", one zero byte. The prizes are plausible average payouts
     of a 6/49 game played at 3 a play (table PRIZES below); a class that
     the game does not pay apart from its plain class holds 0.

d2   The targeted set Forecaster1 of size 10: one row for each draw of d1
     dated from 2025-12-01 to 2026-11-30, oldest first.
     Frequency rule: the row for the draw on date D holds the ten main
     numbers drawn most often in the 52 draws before D (bonus numbers not
     counted); ties go to the number that appeared most recently, then to
     the lower number. The ten are written ascending.
     Line: yyyy-MM-dd and the ten numbers, each field followed by one blank,
     CR LF at the end.
"""

import datetime
import pathlib
import random
import struct

SEED = 6049
FIRST_DAY = datetime.date(2020, 1, 1)
LAST_DAY = datetime.date(2026, 11, 28)
DRAW_WEEKDAYS = (2, 5)  # Wednesday, Saturday

IN_PLAY = 49
PICKED = 6

# Average payout of each class for a play of 3.
PRIZES = {
    "2": 0.0,
    "3": 10.0,
    "4": 80.0,
    "5": 2500.0,
    "6": 5000000.0,
    "2+bonus": 5.0,
    "3+bonus": 0.0,
    "4+bonus": 0.0,
    "5+bonus": 150000.0,
    "6+bonus": 0.0,
}
COST = 3.0
CURRENCY = b"$"

SET_SIZE = 10
SET_FROM = datetime.date(2025, 12, 1)
SET_TO = datetime.date(2026, 11, 30)
LOOKBACK = 52

SHARE = pathlib.Path(__file__).resolve().parent.parent / "share"


def draw_dates():
    day = FIRST_DAY
    while day <= LAST_DAY:
        if day.weekday() in DRAW_WEEKDAYS:
            yield day
        day += datetime.timedelta(days=1)


def make_draws():
    rng = random.Random(SEED)
    draws = []
    for day in draw_dates():
        balls = rng.sample(range(1, IN_PLAY + 1), PICKED + 1)
        draws.append((day, sorted(balls[:PICKED]), balls[PICKED]))
    return draws


def line(fields):
    return "".join(f"{f} " for f in fields) + "\r\n"


def draws_text(draws):
    return "".join(line([day.isoformat(), *main, bonus]) for day, main, bonus in draws)


def param_record():
    order = ["2", "3", "4", "5", "6", "2+bonus", "3+bonus", "4+bonus", "5+bonus", "6+bonus"]
    record = struct.pack("<hh", IN_PLAY, PICKED)
    record += struct.pack("<11f", *[PRIZES[c] for c in order], COST)
    record += struct.pack("<H", len(CURRENCY)) + CURRENCY
    return record.ljust(52, b"\0")


def forecast(history):
    """The SET_SIZE most frequent main numbers of the draws in history (oldest first)."""
    count = {}
    last_seen = {}
    for index, (_, main, _) in enumerate(history):
        for n in main:
            count[n] = count.get(n, 0) + 1
            last_seen[n] = index
    ranked = sorted(count, key=lambda n: (-count[n], -last_seen[n], n))
    return sorted(ranked[:SET_SIZE])


def set_text(draws):
    rows = []
    for index, (day, _, _) in enumerate(draws):
        if SET_FROM <= day <= SET_TO:
            history = draws[max(0, index - LOOKBACK) : index]
            rows.append(line([day.isoformat(), *forecast(history)]))
    return "".join(rows)


def main():
    draws = make_draws()
    record = param_record()
    assert len(record) == 52
    SHARE.mkdir(exist_ok=True)
    (SHARE / "d1").write_bytes(draws_text(draws).encode("ascii"))
    (SHARE / "d1a").write_bytes(record)
    (SHARE / "d2").write_bytes(set_text(draws).encode("ascii"))


if __name__ == "__main__":
    main()
