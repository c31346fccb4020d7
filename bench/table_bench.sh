#!/usr/bin/env bash
# plandrex-table's speed against plandrex doing the same work, and its series commands against
# each other, over the wide CAIDA serial-1 series 2004-2024 (../shared/data/caida-s1-20040101.zng
# and the five files of ../shared/data/wide/):
#   report over the six CAIDA serial-1 files of ../shared/data  vs  plandrex on each consecutive pair
#   edges of generated snapshot 0 (1,000,000 adjacencies)        vs  plandrex --comp:a,A writing it
#   snapshots over the wide series                               vs  report over it (at most 1.2)
#   ases over the wide series                                    vs  snapshots over it (at most 1.5)
#   history over the wide series                                 vs  plandrex --multi over it
#                                                                    (at most 1.5, in no more memory)
# Each side runs RUNS times (default 5), alternating; the script prints the median user+system CPU
# seconds, the median instruction count (perf stat, when perf can count) and their ratios. CPU
# time and instructions hold up on a shared machine where wall time does not.
#
#   bench/table_bench.sh            (after a release build in build-rel with -DPLANDREX_BENCH=ON)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-rel}
RUNS=${RUNS:-5}
DATA=${DATA:-../shared/data}
PLANDREX=$BUILD_DIR/plandrex/plandrex
TABLE=$BUILD_DIR/table/plandrex-table
GENERATOR=$BUILD_DIR/bench/snapshot_generator
BENCH_DATA=${BENCH_DATA:-$BUILD_DIR/bench-data}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

perf_ok=0
if perf stat -x, -e instructions -o "$work/probe" true >/dev/null 2>&1 &&
  grep -q '^[0-9]' "$work/probe"; then
  perf_ok=1
fi

# Runs a shell command once; prints "cpu_seconds instructions wall_seconds peak_kib".
measure() {
  local cmd=$1
  local start end
  if [ $perf_ok = 1 ]; then
    perf stat -x, -e instructions -o "$work/perf" bash -c "$cmd" >/dev/null 2>&1
    local ins
    ins=$(grep instructions "$work/perf" | cut -d, -f1)
  fi
  # %M: the peak resident set of the largest process of the command, in KiB.
  /usr/bin/time -f "%U %S %e %M" -o "$work/time" bash -c "$cmd" >/dev/null 2>&1
  echo "$(awk '{print $1 + $2}' "$work/time") ${ins:-0} $(awk '{print $3, $4}' "$work/time")"
}

median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# compare NAME COMMAND BASELINE [LIMIT]: medians of both, alternating, and their ratios; LIMIT
# (a ratio) is printed as the bound the row must keep.
compare() {
  local name=$1 table_cmd=$2 plandrex_cmd=$3 limit=${4:-}
  : >"$work/t"
  : >"$work/p"
  for _ in $(seq "$RUNS"); do
    measure "$table_cmd" >>"$work/t"
    measure "$plandrex_cmd" >>"$work/p"
  done
  local tc pc ti pi tw pw
  tw=$(cut -d' ' -f3 "$work/t" | median)
  pw=$(cut -d' ' -f3 "$work/p" | median)
  tc=$(cut -d' ' -f1 "$work/t" | median)
  pc=$(cut -d' ' -f1 "$work/p" | median)
  ti=$(cut -d' ' -f2 "$work/t" | median)
  pi=$(cut -d' ' -f2 "$work/p" | median)
  local tm pm
  tm=$(cut -d' ' -f4 "$work/t" | median)
  pm=$(cut -d' ' -f4 "$work/p" | median)
  awk -v n="$name" -v tc="$tc" -v pc="$pc" -v ti="$ti" -v pi="$pi" -v tw="$tw" -v pw="$pw" \
    -v tm="$tm" -v pm="$pm" -v limit="$limit" 'BEGIN {
    printf "| %s | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f ", n, tw, pw, tw / pw, tc, pc, tc / pc
    if (pi + 0 > 0) {
      printf "| %.3g | %.3g | %.2f ", ti, pi, ti / pi
    } else {
      printf "| - | - | - "
    }
    printf "| %.0f | %.0f | %s |\n", tm / 1024, pm / 1024, limit == "" ? "" : "<= " limit
  }'
}

echo "| run | table wall (s) | baseline wall (s) | wall ratio | table cpu (s) | baseline cpu (s) | cpu ratio | table instructions | baseline instructions | instruction ratio | table peak (MiB) | baseline peak (MiB) | bound |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|"

series=("$DATA"/caida-s1-2*.zng)
if [ -f "${series[0]}" ]; then
  pairs=""
  for ((i = 1; i < ${#series[@]}; i++)); do
    pairs+="$PLANDREX ${series[i - 1]} ${series[i]} >/dev/null; "
  done
  compare "report, ${#series[@]} CAIDA serial-1 files" \
    "$TABLE report --quiet -o $work/series.csv ${series[*]}" "$pairs"
fi

mkdir -p "$BENCH_DATA/1000000"
# The pair bench/run.sh generates (its data directory is shared).
snap0=$BENCH_DATA/1000000/snap-00.zng
snap1=$BENCH_DATA/1000000/snap-01.zng
if [ ! -f "$snap1" ]; then
  "$GENERATOR" --nodes 65535 --edges 1000000 --snapshots 10 --seed 1 --churn 5 --flip 2 \
    --out "$BENCH_DATA/1000000/snap" >/dev/null
fi
compare "edges, 1,000,000 adjacencies" "$TABLE edges -o $work/edges.csv $snap0" \
  "$PLANDREX -f --comp:a,A -o $work/comp.zng $snap0 $snap1"

wide=("$DATA"/caida-s1-20040101.zng "$DATA"/wide/caida-s1-20100101.zng \
  "$DATA"/wide/caida-s1-20160101.zng "$DATA"/wide/caida-s1-20200101.zng \
  "$DATA"/wide/caida-s1-20240701.zng "$DATA"/wide/caida-s1-20240801.zng)
if [ -f "${wide[0]}" ] && [ -f "${wide[5]}" ]; then
  compare "snapshots vs report, wide series" \
    "$TABLE snapshots --quiet -o $work/snapshots.csv ${wide[*]}" \
    "$TABLE report --quiet -o $work/report.csv ${wide[*]}" 1.2
  compare "ases vs snapshots, wide series" \
    "$TABLE ases --quiet -o $work/ases.csv ${wide[*]}" \
    "$TABLE snapshots --quiet -o $work/snapshots.csv ${wide[*]}" 1.5
  compare "history vs plandrex --multi, wide series" \
    "$TABLE history --quiet -o $work/history.csv ${wide[*]}" \
    "$PLANDREX -f --multi -o $work/multi.znd ${wide[*]}" 1.5
fi
