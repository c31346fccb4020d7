#!/usr/bin/env bash
# Builds the graph reader's fuzzer with clang in its own build directory and
# runs it for a bounded time.
#
#   bash fuzz/run.sh [seconds]      (default 60)
#
# Starts from the seeds in fuzz/corpus/read_graph; what the fuzzer finds goes
# to fuzz/corpus-work/read_graph (not committed), crash inputs to
# fuzz/corpus-work/. Exits non-zero on a crash, a leak or a sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build="${PLANDREX_FUZZ_BUILD_DIR:-build-fuzz}"
work="fuzz/corpus-work"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz/run.sh: clang++ not found, nothing to do"
  exit 0
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DPLANDREX_TESTS=OFF -DPLANDREX_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target read_graph_fuzzer >/dev/null

mkdir -p "$work/read_graph"
log="$work/read_graph.log"
status=0
ASAN_OPTIONS=detect_leaks=1 \
  "$build/fuzz/read_graph_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" \
  "$work/read_graph" fuzz/corpus/read_graph >"$log" 2>&1 || status=$?

grep -E '^(Done|stat::number_of_executed_units)' "$log" || true
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "read_graph_fuzzer: ${executions:-unknown} executions in ${seconds} s, exit status ${status}"
if [ "$status" -ne 0 ]; then
  tail -n 60 "$log"
fi
exit "$status"
