#!/usr/bin/env python3
"""Deliberately simple, slow reference for graphs made from routing tables.

Reads `bgpdump -m` text (plain, .gz or .bz2), optionally a relationship file
(serial-1 `A|B|rel`, serial-2 `A|B|rel|source` or SNAP as-caida `A<TAB>B<TAB>rel`,
plain, .gz or .bz2), and prints the plain graph file the importer must write.
Written straight from the definitions, sharing nothing with the C++ code:
address unions are plain sorted-interval merges, paths are tuples in a set.

usage: rib_reference.py [--classic] [--relationships FILE] TABLE...

--classic keeps AS numbers 1 to 65535 only, as the classic graph file does;
otherwise every number 1 to 4294967295 stays, and a graph with one above
65535 is written as a wide file (ZNG32).
"""

import bz2
import gzip
import os
import re
import sys

LARGEST = 0xFFFFFFFF  # --classic: 65535
AS_TOKEN = re.compile(r"^(\d+)(?:\.(\d+))?$")
PREFIX = re.compile(r"^(\d+)\.(\d+)\.(\d+)\.(\d+)/(\d+)$")


def open_text(path):
    with open(path, "rb") as probe:
        magic = probe.read(3)
    if magic[:2] == b"\x1f\x8b":
        return gzip.open(path, "rt", encoding="latin-1", newline="")
    if magic == b"BZh":
        return bz2.open(path, "rt", encoding="latin-1", newline="")
    return open(path, "rt", encoding="latin-1", newline="")


def as_number(token):
    m = AS_TOKEN.match(token)
    if not m:
        return None
    if m.group(2) is None:
        value = int(m.group(1))
        return value if value <= 0xFFFFFFFF else None
    high, low = int(m.group(1)), int(m.group(2))
    if high > 65535 or low > 65535:
        return None
    return high * 65536 + low


def route_of(line):
    """(first, last, path) of a usable route, or None."""
    fields = line.split("|")
    if len(fields) < 3 or fields[2] != "B":
        return None
    if len(fields) < 7 or ":" in fields[5]:
        return None
    m = PREFIX.match(fields[5])
    if not m:
        return None
    octets = [int(m.group(i)) for i in range(1, 5)]
    length = int(m.group(5))
    if any(o > 255 for o in octets) or length > 32:
        return None
    value = (octets[0] << 24) | (octets[1] << 16) | (octets[2] << 8) | octets[3]
    size = 2 ** (32 - length)
    first = value - value % size
    path = []
    for token in fields[6].split():
        if token.startswith("{"):
            break
        number = as_number(token)
        if number is None:
            return None
        if not path or path[-1] != number:
            path.append(number)
    if len(set(path)) != len(path):
        return None
    return first, first + size - 1, tuple(path)


def read_relationships(path):
    """{(a, b) with a < b: (flag, direction seen from a)} by the import rules."""
    seen = {}
    with open_text(path) as f:
        for raw in f:
            line = raw.rstrip("\r\n")
            if not line or line[0] in "#%":
                continue
            if "|" in line:
                parts = line.split("|")
                a, b, rel = int(parts[0]), int(parts[1]), int(parts[2])
                # serial-1/2: -1 means a is the provider of b, 0 peers
                kind = {-1: "p2c", 0: "p2p"}.get(rel, "none")
            else:
                parts = line.split("\t")
                a, b, rel = int(parts[0]), int(parts[1]), int(parts[2])
                # as-caida: 1 a provider of b, -1 a customer of b, 0 peers, 2 siblings
                kind = {1: "p2c", -1: "c2p", 0: "p2p"}.get(rel, "none")
            if not (1 <= a <= LARGEST and 1 <= b <= LARGEST) or a == b:
                continue
            if kind == "c2p":
                a, b, kind = b, a, "p2c"
            if kind == "p2c":
                value = (1, 1) if a < b else (1, -1)
            elif kind == "p2p":
                value = (1, 0)
            else:
                value = (0, 0)
            key = (min(a, b), max(a, b))
            if key in seen and seen[key] != value:
                value = (0, 0)
            seen[key] = value
    return seen


def union_size(intervals):
    total = 0
    current = None
    for first, last in sorted(intervals):
        if current is not None and first <= current[1] + 1:
            current[1] = max(current[1], last)
            continue
        if current is not None:
            total += current[1] - current[0] + 1
        current = [first, last]
    if current is not None:
        total += current[1] - current[0] + 1
    return total


def main(argv):
    global LARGEST
    relationships = None
    tables = []
    i = 0
    while i < len(argv):
        if argv[i] == "--classic":
            LARGEST = 65535
            i += 1
        elif argv[i] == "--relationships":
            relationships = read_relationships(argv[i + 1])
            i += 2
        else:
            tables.append(argv[i])
            i += 1
    paths = {}  # directed pair -> set of paths
    prefixes = {}  # directed pair -> list of intervals
    nodes = set()
    for table in tables:
        with open_text(table) as f:
            for raw in f:
                route = route_of(raw.rstrip("\r\n"))
                if route is None:
                    continue
                first, last, path = route
                nodes.update(a for a in path if 1 <= a <= LARGEST)
                for x, y in zip(path, path[1:]):
                    if 1 <= x <= LARGEST and 1 <= y <= LARGEST:
                        paths.setdefault((x, y), set()).add(path)
                        prefixes.setdefault((x, y), []).append((first, last))
    edges = sorted({(min(x, y), max(x, y)) for x, y in paths})
    out = ["ZNG32" if nodes and max(nodes) > 65535 else "ZNG", str(len(tables))]
    out += [os.path.basename(t) for t in tables]
    out += ["", str(len(nodes)), str(len(edges))]
    out += [str(n) for n in sorted(nodes)]
    for a, b in edges:
        flag, direction = (0, 0)
        if relationships is not None:
            flag, direction = relationships.get((a, b), (0, 0))
        values = []
        for x, y in ((a, b), (b, a)):
            values.append(len(paths.get((x, y), ())))
            values.append(union_size(prefixes.get((x, y), [])))
        out.append("%d %d %d %d %d %d %d %d" % ((a, b, flag, direction) + tuple(values)))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main(sys.argv[1:])
