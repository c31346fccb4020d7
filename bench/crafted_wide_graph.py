#!/usr/bin/env python3
"""Writes a wide graph whose AS numbers above 65535 are aimed at the node table's hash, or one
of as many random AS numbers, for comparing read times.

    crafted_wide_graph.py crafted|random NODES [BITS] > FILE

crafted: every AS number is one that a fixed multiplicative hash (key * 0x9E3779B97F4A7C15, its
top bits as the slot, the hash the reader used to have) sends into the first 1/2^BITS of every
table size at once (BITS 2, the default: the first quarter). A table at most half full then holds
more such keys than that part has slots, so they all share one run and each insertion walks it:
reading turns quadratic under such a hash. BITS 1 (the first half) only fills that half, which
costs a fixed hash about n^1.5. The keys are drawn at random and filtered: keys that follow each
other would each land in a slot of their own, as the product spreads a run evenly.

Every node gets one adjacency to the next, in ascending order, so that the reader also looks the
keys up. The same NODES give files of nearly the same size either way.
"""
import random
import sys

FIBONACCI = 0x9E3779B97F4A7C15
MASK = (1 << 64) - 1


def drawn(count, wanted):
    rng = random.Random(count)
    keys = set()
    while len(keys) < count:
        key = rng.randrange(65536, 1 << 32)
        if wanted(key):
            keys.add(key)
    return sorted(keys)


def main():
    kind, count = sys.argv[1], int(sys.argv[2])
    bits = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    if kind == "crafted":
        keys = drawn(count, lambda key: ((key * FIBONACCI) & MASK) >> (64 - bits) == 0)
    else:
        keys = drawn(count, lambda key: True)
    out = sys.stdout
    out.write("ZNG32\n1\n%s-%d\n\n%d\n%d\n" % (kind, count, len(keys), len(keys) - 1))
    out.write("".join("%d\n" % k for k in keys))
    out.write("".join("%d %d 0 0 1 256 1 256\n" % (a, b) for a, b in zip(keys, keys[1:])))


if __name__ == "__main__":
    main()
