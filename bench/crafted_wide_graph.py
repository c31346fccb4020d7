#!/usr/bin/env python3
"""Writes a wide graph whose AS numbers above 65535 all fall into one half of a node table
hashed the way the reader used to hash them (key * 0x9E3779B97F4A7C15, top bits), and a graph of
as many random AS numbers, for comparing read times.

    crafted_wide_graph.py crafted|random NODES [SEED] > FILE

The product's top bit picks the half of every table size at once, so each table the reader grows
through fills its first half completely, at random places: a reader that hashes this way probes
runs as long as the table is. Keys that follow each other would land each in a slot of its own
(the product spreads a run evenly), so the keys are drawn at random and filtered. Every node gets one adjacency to the next, in ascending order, so that the reader
also looks the keys up.
"""
import random
import sys

FIBONACCI = 0x9E3779B97F4A7C15
MASK = (1 << 64) - 1


def drawn(count, seed, wanted):
    rng = random.Random(seed)
    keys = set()
    while len(keys) < count:
        key = rng.randrange(65536, 1 << 32)
        if wanted(key):
            keys.add(key)
    return sorted(keys)


def main():
    kind, count = sys.argv[1], int(sys.argv[2])
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    if kind == "crafted":
        keys = drawn(count, seed, lambda key: (key * FIBONACCI) & MASK < 1 << 63)
    else:
        keys = drawn(count, seed, lambda key: True)
    out = sys.stdout
    out.write("ZNG32\n1\n%s-%d\n\n%d\n%d\n" % (kind, count, len(keys), len(keys) - 1))
    out.write("".join("%d\n" % k for k in keys))
    out.write("".join("%d %d 0 0 1 256 1 256\n" % (a, b) for a, b in zip(keys, keys[1:])))


if __name__ == "__main__":
    main()
