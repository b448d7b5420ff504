#!/usr/bin/env python3
"""Build shipped wheels from two smaller ones where that takes fewer tickets.

Run from anywhere: python3 tools/extend_wheels.py [FILE]
FILE is the designed wheels file (default src/core/wheels/designed_wheels.txt),
as tools/design_wheels.sh writes it: a "wheel V K T M TICKETS" line, then the
tickets, one a line, numbers 1..V ascending, CR LF line ends.

A wheel on V numbers with tickets of K that covers every T-subset follows from
one on V - 1 numbers with tickets of K that covers every T-subset, and one on
V - 1 numbers with tickets of K - 1 that covers every (T - 1)-subset with the
number V added to each of its tickets: a T-subset without V lies in a ticket of
the first, one with V in a ticket of the second. Where both are in the file and
their sizes add up to fewer tickets than the wheel for V, the built wheel takes
its place (24 numbers, 6, 4 if 4 with 784 tickets, and 24 numbers, 5, 3 if 3
with 229, give 1,013 for 25 numbers, 6, 4 if 4). Every wheel written is counted
here against all T-subsets first. Wheels are taken in order of V, so that one
built may serve for the next. The same file in gives the same bytes out.
"""

import itertools
import pathlib
import sys


def read(path):
    """Header lines and the wheels, {(v, k, t, m): [ticket tuples]}, in file order."""
    header, wheels, current = [], {}, None
    for line in path.read_bytes().decode("ascii").split("\r\n"):
        if not line:
            continue
        if line.startswith("#"):
            header.append(line)
        elif line.startswith("wheel "):
            v, k, t, m, _ = map(int, line.split()[1:])
            current = wheels.setdefault((v, k, t, m), [])
        else:
            current.append(tuple(map(int, line.split())))
    return header, wheels


def covers(v, t, tickets):
    covered = set()
    for ticket in tickets:
        covered.update(itertools.combinations(ticket, t))
    return len(covered) == sum(1 for _ in itertools.combinations(range(1, v + 1), t))


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "src/core/wheels/designed_wheels.txt"
    path = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    header, wheels = read(path)
    built = []
    for (v, k, t, m) in sorted(wheels):
        if t != m:
            continue
        same = wheels.get((v - 1, k, t, t))
        smaller = wheels.get((v - 1, k - 1, t - 1, t - 1))
        if not same or not smaller or len(same) + len(smaller) >= len(wheels[(v, k, t, m)]):
            continue
        wheel = sorted(same + [ticket + (v,) for ticket in smaller])
        if not covers(v, t, wheel):
            sys.exit(f"the wheel built for {v} numbers, {k}, {t} if {t} misses a {t}-subset")
        print(f"C({v},{k},{t}): {len(wheels[(v, k, t, m)])} to {len(wheel)} tickets")
        wheels[(v, k, t, m)] = wheel
        built.append(f"C({v},{k},{t})")
    if not built:
        return
    note = "# Built from two smaller wheels by tools/extend_wheels.py: " + ", ".join(built) + "."
    header = [line for line in header if not line.startswith("# Built from two smaller")]
    header.insert(len(header) - 1, note)
    lines = header[:]
    for (v, k, t, m), tickets in wheels.items():
        lines.append(f"wheel {v} {k} {t} {m} {len(tickets)}")
        lines.extend(" ".join(map(str, ticket)) for ticket in tickets)
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
