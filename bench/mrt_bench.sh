#!/usr/bin/env bash
# Times plandrex-import on the shared routing tables, MRT read directly against
# the pipe from bgpdump, and memory against the number of routes:
#
#   bench/mrt_bench.sh [RUNS]       (default 3 runs of each, medians shown)
#
# with a release build in build-rel (cmake -DCMAKE_BUILD_TYPE=Release, target
# plandrex-import). OLD=<an older plandrex-import> adds the text path timed
# with both binaries, interleaved, and their outputs compared byte for byte.
# Prints, in one run so that the ratios share the machine's load:
#   - the 1x and 16-fold MRT tables read directly: wall, processor time, peak RSS;
#   - the 16-fold table through `bgpdump -m | plandrex-import -`: wall and
#     processor time of both programs, and the importer's peak RSS;
#   - the ratios: direct / pipe (wall and processor), 16-fold / 1x peak RSS
#     for MRT and for text.
set -euo pipefail
cd "$(dirname "$0")/.."

runs="${1:-3}"
import="${IMPORT:-build-rel/importer/plandrex-import}"
data="../shared/data/rib"
x1="$data/rib.20100701.0759.mrt.gz"
x16="$data/rib.20100701.0759.x16.mrt.gz"
text="$data/bview.20100701.0759.txt.gz"
for need in "$import" "$x1" "$x16" "$text"; do
  if [ ! -e "$need" ]; then
    echo "mrt_bench.sh: $need not found" >&2
    exit 1
  fi
done
if ! command -v bgpdump >/dev/null; then
  echo "mrt_bench.sh: bgpdump not installed (Debian package bgpdump)" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "wall cpu rss_kb" of a command, cpu = user + system of all its processes.
measure() {
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >/dev/null 2>&1
  awk '{printf "%.2f %.2f %d\n", $1, $2 + $3, $4}' "$work/time"
}
# The median line (by its first column) of the lines on standard input.
median() { sort -n | awk '{line[NR] = $0} END {print line[int((NR + 1) / 2)]}'; }

declare -A result
for ((i = 0; i < runs; i++)); do
  # Interleaved, so that a change of load hits every kind alike.
  measure "$import" --quiet --source-name t -o "$work/x1.zng" "$x1" >>"$work/mrt-x1"
  measure "$import" --quiet --source-name t -o "$work/x16.zng" "$x16" >>"$work/mrt-x16"
  measure sh -c "bgpdump -m '$x16' 2>/dev/null | '$import' --quiet -o '$work/pipe.zng' -" \
    >>"$work/pipe-x16"
  measure "$import" --quiet -o "$work/text.zng" "$text" >>"$work/text-x1"
  if [ -n "${OLD:-}" ]; then
    measure "$OLD" --quiet -o "$work/text-old.zng" "$text" >>"$work/text-x1-old"
  fi
done
# The importer alone behind the pipe, for its peak RSS.
bgpdump -m "$x16" 2>/dev/null | /usr/bin/time -f "%M" -o "$work/pipe-rss" \
  "$import" --quiet -o "$work/pipe.zng" -
for kind in mrt-x1 mrt-x16 pipe-x16 text-x1 text-x1-old; do
  [ -f "$work/$kind" ] && result[$kind]=$(median <"$work/$kind")
done
pipeRss=$(cat "$work/pipe-rss")

printf '%-44s %8s %8s %10s\n' "run (median of $runs)" "wall s" "cpu s" "peak KiB"
row() { printf '%-44s %8s %8s %10s\n' "$1" $2; }
row "MRT 1x, read directly" "${result[mrt-x1]}"
row "MRT 16-fold, read directly" "${result[mrt-x16]}"
row "MRT 16-fold, bgpdump -m | plandrex-import -" "${result[pipe-x16]% *} $pipeRss"
row "text 1x (bgpdump -m text, gzip)" "${result[text-x1]}"
if [ -n "${result[text-x1-old]:-}" ]; then
  row "text 1x, OLD binary" "${result[text-x1-old]}"
fi
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'; }
read -r dw dc dm <<<"${result[mrt-x16]}"
read -r pw pc _ <<<"${result[pipe-x16]}"
read -r _ _ m1 <<<"${result[mrt-x1]}"
read -r _ tc t1 <<<"${result[text-x1]}"
echo "16-fold direct / pipe: wall $(ratio "$dw" "$pw"), processor $(ratio "$dc" "$pc") (target <= 0.333)"
echo "peak RSS 16-fold / 1x: MRT $(ratio "$dm" "$m1"), text $(ratio "$pipeRss" "$t1") (target <= 1.5)"
if [ -n "${result[text-x1-old]:-}" ]; then
  read -r _ oc _ <<<"${result[text-x1-old]}"
  echo "text 1x processor time new / OLD: $(ratio "$tc" "$oc") (target <= 1.05)"
  cmp -s "$work/text.zng" "$work/text-old.zng" && echo "text 1x graph: identical to OLD's" ||
    echo "text 1x graph: DIFFERS from OLD's"
fi
cmp -s "$work/x1.zng" "$work/x16.zng" && echo "16-fold graph: identical to the 1x graph" ||
  echo "16-fold graph: DIFFERS from the 1x graph"
