#!/usr/bin/env bash
# How much slower a graph of AS numbers aimed at the node table's hash reads than one of random
# AS numbers (bench/crafted_wide_graph.py writes both, NODES nodes each, default 160,000). The
# reader alone (graph_read_bench) reads each file RUNS times (default 5), the two alternating;
# the script prints the fastest whole read of each, in nanoseconds per edge line, and their
# ratio. A hash that input can aim at shows a ratio that grows with NODES (about 50 at 40,000,
# 100 to 200 at 160,000); the seeded one stays near 1.
#
#   bench/crafted_keys_bench.sh             (after a release build in build-rel, -DPLANDREX_BENCH=ON)
#   READER=OLD/bench/graph_read_bench bench/crafted_keys_bench.sh     (an older build's reader)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-rel}
READER=${READER:-$BUILD_DIR/bench/graph_read_bench}
NODES=${NODES:-160000}
RUNS=${RUNS:-5}
BITS=${BITS:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 bench/crafted_wide_graph.py crafted "$NODES" "$BITS" >"$work/crafted.zng"
python3 bench/crafted_wide_graph.py random "$NODES" >"$work/random.zng"

# The whole read's figure from one graph_read_bench round.
whole_read() {
  "$READER" "$1" 1 | sed -n 's/.*whole read \([0-9.]*\) ns.*/\1/p'
}

best_crafted=
best_random=
for ((run = 0; run < RUNS; ++run)); do
  c=$(whole_read "$work/crafted.zng")
  r=$(whole_read "$work/random.zng")
  best_crafted=$(awk -v a="${best_crafted:-$c}" -v b="$c" 'BEGIN { print (b < a ? b : a) }')
  best_random=$(awk -v a="${best_random:-$r}" -v b="$r" 'BEGIN { print (b < a ? b : a) }')
done
printf 'nodes %s   crafted %s ns/line   random %s ns/line   crafted/random %s\n' "$NODES" \
  "$best_crafted" "$best_random" \
  "$(awk -v c="$best_crafted" -v r="$best_random" 'BEGIN { printf "%.2f", c / r }')"
