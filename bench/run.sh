#!/bin/sh
# Builds a release plandrex and times its modes on generated AS-like snapshots of 65,535 ASes.
#
#   bench/run.sh [ADJACENCIES...]        default: 100000 1000000
#
# For each size it generates ten snapshots (once; they are kept in the data directory), then runs
# the default report, -l, --over:a and --comp:a,A on the first two snapshots and --multi on all
# ten, each writing to a file with -o, RUNS times each, and prints one table row per mode: the
# run of median wall time. Every row also gives the run's time per adjacency read as a multiple of the floor's (bench/floor.cc: the least work the
# default report needs, timed on the same pair in the same run, median of five). Last come the
# same rows for the real CAIDA 2024-08 pair when ../shared/data is there. Then the same for wide
# graph files (32-bit AS numbers): generated snapshots of each size in WIDE_SIZES, the same graphs
# as the classic ones with their AS numbers sent through one random one-to-one map into the 32-bit
# range, and the real wide 2024-08 pair. Environment: BUILD_DIR (default build-rel), BENCH_DATA
# (default $BUILD_DIR/bench-data), BENCH_JOBS (2), RUNS (5), PLANDREX (a plandrex binary to time
# instead of the one built here), WIDE_SIZES (default 1000000; empty: no wide rows).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-rel}
data=${BENCH_DATA:-$build/bench-data}
jobs=${BENCH_JOBS:-2}
runs=${RUNS:-5}
nodes=65535
snapshots=10
[ $# -gt 0 ] || set -- 100000 1000000
wide_sizes=${WIDE_SIZES-1000000}

if [ ! -x /usr/bin/time ]; then
  echo "bench/run.sh needs GNU time at /usr/bin/time (package 'time')" >&2
  exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPLANDREX_TESTS=OFF \
  -DPLANDREX_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs" --target plandrex snapshot_generator floor >/dev/null
plandrex=${PLANDREX:-$build/plandrex/plandrex}
generator=$build/bench/snapshot_generator
floor=$build/bench/floor
real=$root/../shared/data

# The edge count of a graph file: the line after the node count, which follows the source
# names (their number is on line 2) and the description.
edge_count() {
  awk 'NR == 2 { names = $1 } NR > 2 && NR == names + 5 { print; exit }' "$1"
}

now_ns() { date +%s%N; }

# time_floor FIRST SECOND: sets floor_s to the median wall time of five floor runs.
time_floor() {
  floor_s=$(for _ in 1 2 3 4 5; do
    start=$(now_ns)
    "$floor" "$@" >/dev/null
    echo $(($(now_ns) - start))
  done | sort -n | awk 'NR == 3 { printf "%.4f", $1 / 1e9 }')
}

# run MODE ADJACENCIES_READ ADJACENCIES_HELD ARGS...: times RUNS runs and prints the table row of
# the run of median wall time (fresh memory makes single runs vary: the kernel does not always
# have huge pages at hand).
run() {
  mode=$1 read_count=$2 held=$3
  shift 3
  : >"$data/runs.txt"
  i=0
  while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    start=$(now_ns)
    if ! /usr/bin/time -f "%M %U %S" -o "$data/time.txt" "$plandrex" -f -o "$data/out" "$@" \
      </dev/null >/dev/null 2>"$data/err.txt"; then
      echo "plandrex failed in mode $mode:" >&2
      cat "$data/err.txt" >&2
      exit 1
    fi
    echo "$(($(now_ns) - start)) $(cat "$data/time.txt")" >>"$data/runs.txt"
  done
  read -r wall_ns rss_kib user_s sys_s <<EOF_RUNS
$(sort -n "$data/runs.txt" | awk -v n="$runs" 'NR == int((n + 1) / 2)')
EOF_RUNS
  if [ "$held" = multi ]; then
    # The multi-differential graph holds every adjacency seen, next to the last input.
    held=$(($(edge_count "$data/out") + size))
  fi
  awk -v size="$label" -v mode="$mode" -v wall="$wall_ns" -v rss="$rss_kib" -v n="$read_count" \
    -v held="$held" -v floor="$floor_s" -v floor_n="$floor_read" -v cpu="$user_s + $sys_s" 'BEGIN {
      wall /= 1e9
      split(cpu, parts, " [+] ")
      printf "| %9s | %-12s | %8.3f | %8.2f | %9.3f | %6.1f | %9.1f | %7.0f |\n",
        size, mode, wall, parts[1] + parts[2], wall * 1e6 / n, (wall / n) / (floor / floor_n),
        rss / 1024, rss * 1024 / held
    }'
}

# two_input_rows LABEL FIRST SECOND: the floor row and the four two-input modes on one pair.
two_input_rows() {
  label=$1
  shift
  two=$(($(edge_count "$1") + $(edge_count "$2")))
  floor_read=$two
  time_floor "$@"
  awk -v size="$label" -v floor="$floor_s" -v n="$two" 'BEGIN {
      printf "| %9s | %-12s | %8.3f | %8s | %9.3f | %6.1f | %9s | %7s |\n",
        size, "floor", floor, "", floor * 1e6 / n, 1, "", ""
    }'
  run report "$two" "$two" "$@"
  run -l "$two" "$two" -l "$@"
  run --over:a "$two" "$two" --over:a "$@"
  run --comp:a,A "$two" "$two" --comp:a,A "$@"
}

echo "| adjacencies per snapshot | mode | wall (s) | cpu (s) | us per adjacency read | x floor | peak RSS (MiB) | RSS bytes per adjacency held |"
echo "|---:|---|---:|---:|---:|---:|---:|---:|"
# generated_rows LABEL DIR SIZE [GENERATOR OPTIONS...]: the ten snapshots (made once), the
# two-input rows on the first two and --multi on all ten.
generated_rows() {
  name=$1 dir=$2 size=$3
  shift 3
  mkdir -p "$dir"
  if [ ! -f "$dir/snap-09.zng" ]; then
    "$generator" --nodes "$nodes" --edges "$size" --snapshots "$snapshots" --seed 1 \
      --churn 5 --flip 2 --out "$dir/snap" "$@"
  fi
  two_input_rows "$name" "$dir/snap-00.zng" "$dir/snap-01.zng"
  run --multi "$((snapshots * size))" multi --multi "$dir"/snap-0?.zng
}

for count in "$@"; do
  generated_rows "$count" "$data/$count" "$count"
done
if [ -f "$real/caida-s1-20240801.zng" ]; then
  two_input_rows caida "$real/caida-s1-20240801.zng" "$real/caida-s2-20240801.zng"
fi
for count in $wide_sizes; do
  generated_rows "wide $count" "$data/wide-$count" "$count" --wide 1
done
if [ -n "$wide_sizes" ] && [ -f "$real/wide/caida-s1-20240801.zng" ]; then
  two_input_rows "wide caida" "$real/wide/caida-s1-20240801.zng" \
    "$real/wide/caida-s2-20240801.zng"
fi
rm -f "$data/out" "$data/time.txt" "$data/err.txt" "$data/runs.txt"
