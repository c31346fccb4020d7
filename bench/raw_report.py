#!/usr/bin/env python3
"""The default report of two CAIDA relationship files, straight from the raw files.

    bench/raw_report.py FIRST SECOND        (serial-1 or serial-2, plain, .gz or .bz2)

A second way to the 25 figures plandrex prints for the graphs plandrex-import makes of the two
files with its default options (every AS number kept): native integers, dictionaries and sets,
nothing shared with the C++ code. Links with AS 0 or a self-loop are left out, as the importer
leaves them out; the AS numbers of a link still count as nodes.
"""

import bz2
import gzip
import sys


def open_text(path):
    with open(path, "rb") as probe:
        magic = probe.read(3)
    if magic[:2] == b"\x1f\x8b":
        return gzip.open(path, "rt")
    if magic == b"BZh":
        return bz2.open(path, "rt")
    return open(path, "rt")


def read(path):
    """(nodes, edges): edges maps (smaller, larger) to 'p' (peering), 'u' (unoriented) or
    +1 / -1 (directed from the smaller / the larger AS)."""
    nodes, edges = set(), {}
    with open_text(path) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            a, b, rel = (int(x) for x in line.split("|")[:3])
            for x in (a, b):
                if 1 <= x <= 0xFFFFFFFF:
                    nodes.add(x)
            if not (1 <= a <= 0xFFFFFFFF and 1 <= b <= 0xFFFFFFFF) or a == b:
                continue
            value = "p" if rel == 0 else ((1 if a < b else -1) if rel == -1 else "u")
            key = (min(a, b), max(a, b))
            if key in edges and edges[key] != value:
                value = "u"
            edges[key] = value
    return nodes, edges


def kind(value):
    return "peering" if value == "p" else ("unoriented" if value == "u" else "directed")


def main(first, second):
    n1, e1 = read(first)
    n2, e2 = read(second)
    lines = [("Nodes in 1st graph:", len(n1)), ("- only in 1st graph:", len(n1 - n2)),
             ("Nodes in 2nd graph:", len(n2)), ("- only in 2nd graph:", len(n2 - n1)),
             ("Common nodes:", len(n1 & n2))]
    for edges, other, nth in ((e1, e2, "1st"), (e2, e1, "2nd")):
        only = [v for k, v in edges.items() if k not in other]
        lines.append((f"Edges in {nth} graph:", len(edges)))
        for k in ("peering", "directed", "unoriented"):
            lines.append((f"- {k}:", sum(kind(v) == k for v in edges.values())))
        lines.append((f"- only in {nth} graph:", len(only)))
        for k in ("peering", "directed", "unoriented"):
            lines.append((f"  * {k}:", sum(kind(v) == k for v in only)))
    common = [(e1[k], e2[k]) for k in e1 if k in e2]
    oriented = [(a, b) for a, b in common if a != "u" and b != "u"]
    lines.append(("Common edges:", len(common)))
    lines.append(("- oppositely dir.:", sum(a in (1, -1) and b in (1, -1) and a != b
                                            for a, b in oriented)))
    lines.append(("- differently dir.:", sum(a != b for a, b in oriented)))
    lines.append(("- consistently dir.:", sum(a == b for a, b in oriented)))
    for label, value in lines:
        print(f"{label:<21}{value:10d}")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
