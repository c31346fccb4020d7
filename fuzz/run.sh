#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build directory and runs
# each for a bounded time.
#
#   bash fuzz/run.sh [seconds [target...]]   (default 60 s each, every target)
#
# Targets: read_graph (the graph file reader), parse_arguments (the command
# line), import_links (plandrex-import's relationship files and link lists),
# import_bgpdump (its routing tables as text), import_mrt (its routing tables
# as MRT) and decode (its gzip and bzip2 input).
# Each starts from its seeds in fuzz/corpus/TARGET (import_mrt also from the
# first 4 KiB of each MRT sample in ../shared/data/rib/samples, where that
# is present: decompressed copies, never committed); what the fuzzer
# finds goes to fuzz/corpus-work/TARGET (not committed), crash inputs to
# fuzz/corpus-work/. Exits non-zero on a crash, a leak or a sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(read_graph parse_arguments import_links import_bgpdump import_mrt decode)
fi
build="${PLANDREX_FUZZ_BUILD_DIR:-build-fuzz}"
work="fuzz/corpus-work"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz/run.sh: clang++ not found, nothing to do"
  exit 0
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DPLANDREX_TESTS=OFF -DPLANDREX_FUZZ=ON >/dev/null

overall=0
for target in "${targets[@]}"; do
  cmake --build "$build" -j2 --target "${target}_fuzzer" >/dev/null
  mkdir -p "$work/$target"
  log="$work/$target.log"
  seeds=("fuzz/corpus/$target")
  samples="../shared/data/rib/samples"
  if [ "$target" = import_mrt ] && [ -d "$samples" ]; then
    mkdir -p "$work/import_mrt-samples"
    for sample in "$samples"/*.gz; do
      # The first byte chooses the options; the records follow.
      { printf '\001'; zcat "$sample" | head -c 4095 || true; } \
        >"$work/import_mrt-samples/$(basename "$sample" .gz)"
    done
    seeds+=("$work/import_mrt-samples")
  fi
  status=0
  ASAN_OPTIONS=detect_leaks=1 \
    "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" \
    "$work/$target" "${seeds[@]}" >"$log" 2>&1 || status=$?

  grep -E '^(Done|stat::number_of_executed_units)' "$log" || true
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "${target}_fuzzer: ${executions:-unknown} executions in ${seconds} s, exit status ${status}"
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    overall=$status
  fi
done
exit "$overall"
