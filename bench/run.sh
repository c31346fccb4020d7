#!/bin/sh
# Builds a release plandrex and times its modes on generated AS-like snapshots of 65,535 ASes.
#
#   bench/run.sh [ADJACENCIES...]        default: 100000 1000000
#
# For each size it generates ten snapshots (once; they are kept in the data directory), then runs
# the default report, -l, --over:a and --comp:a,A on the first two snapshots and --multi on all
# ten, each writing to a file with -o, and prints one table row per run. Environment:
# BUILD_DIR (default build-rel), BENCH_DATA (default $BUILD_DIR/bench-data), BENCH_JOBS (2).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-rel}
data=${BENCH_DATA:-$build/bench-data}
jobs=${BENCH_JOBS:-2}
nodes=65535
snapshots=10
[ $# -gt 0 ] || set -- 100000 1000000

if [ ! -x /usr/bin/time ]; then
  echo "bench/run.sh needs GNU time at /usr/bin/time (package 'time')" >&2
  exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPLANDREX_TESTS=OFF \
  -DPLANDREX_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs" --target plandrex snapshot_generator >/dev/null
plandrex=$build/plandrex/plandrex
generator=$build/bench/snapshot_generator

# The edge count of a graph file: the line after the node count, which follows the source
# names (their number is on line 2) and the description.
edge_count() {
  awk 'NR == 2 { names = $1 } NR > 2 && NR == names + 5 { print; exit }' "$1"
}

# run MODE ADJACENCIES_READ ADJACENCIES_HELD ARGS...: times one run and prints its table row.
run() {
  mode=$1 read_count=$2 held=$3
  shift 3
  if ! /usr/bin/time -f "%e %M" -o "$data/time.txt" "$plandrex" -f -o "$data/out" "$@" \
    </dev/null >/dev/null 2>"$data/err.txt"; then
    echo "plandrex failed in mode $mode:" >&2
    cat "$data/err.txt" >&2
    exit 1
  fi
  if [ "$held" = multi ]; then
    # The multi-differential graph holds every adjacency seen, next to the last input.
    held=$(($(edge_count "$data/out") + size))
  fi
  read -r wall rss_kib <"$data/time.txt"
  awk -v size="$size" -v mode="$mode" -v wall="$wall" -v rss="$rss_kib" -v n="$read_count" \
    -v held="$held" 'BEGIN {
      printf "| %9d | %-12s | %8.2f | %9.3f | %9.1f | %7.0f |\n",
        size, mode, wall, wall * 1e6 / n, rss / 1024, rss * 1024 / held
    }'
}

echo "| adjacencies per snapshot | mode | wall (s) | us per adjacency read | peak RSS (MiB) | RSS bytes per adjacency held |"
echo "|---:|---|---:|---:|---:|---:|"
for size in "$@"; do
  dir=$data/$size
  mkdir -p "$dir"
  if [ ! -f "$dir/snap-09.zng" ]; then
    "$generator" --nodes "$nodes" --edges "$size" --snapshots "$snapshots" --seed 1 \
      --churn 5 --flip 2 --out "$dir/snap"
  fi
  pair="$dir/snap-00.zng $dir/snap-01.zng"
  two=$((2 * size))
  # shellcheck disable=SC2086 # the pair is two words on purpose
  {
    run report "$two" "$two" $pair
    run -l "$two" "$two" $pair
    run --over:a "$two" "$two" --over:a $pair
    run --comp:a,A "$two" "$two" --comp:a,A $pair
    run --multi "$((snapshots * size))" multi --multi "$dir"/snap-0?.zng
  }
done
rm -f "$data/out" "$data/time.txt" "$data/err.txt"
