#!/bin/sh
# Regenerates the bundled sample snapshots with the benchmark's snapshot generator. The output is
# deterministic: the same seed and sizes give the same files, byte for byte.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPLANDREX_TESTS=OFF \
  -DPLANDREX_BENCH=ON >/dev/null
cmake --build "$build" --target snapshot_generator -j 2 >/dev/null

# 400 ASes and 1400 adjacencies per snapshot; between snapshots 2% of the stub ASes are
# replaced, 5% of the adjacencies churn and 2% change orientation.
"$build/bench/snapshot_generator" --nodes 400 --edges 1400 --snapshots 3 --seed 2024 \
  --churn 5 --flip 2 --node-churn 2 --out "$build/as-snapshot"
for i in 1 2 3; do
  mv "$build/as-snapshot-0$((i - 1)).zng" "$root/examples/as-snapshot-$i.zng"
done
