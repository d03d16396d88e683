#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (ASan + UBSan) and runs
# each for SECONDS (default 60), one after the other.
#
#   tools/fuzz.sh [SECONDS] [TARGET ...]     e.g. tools/fuzz.sh 20 dex csv
#
# Seeds are written by the fixture builders at every run; what a target
# learns is kept in $ORVANE_FUZZ_DIR/corpus/<target> (default build-fuzz/) for
# the next run. Exits non-zero on any finding, printing the reproducer's
# path; replay it with: build-fuzz/fuzz/fuzz_<target> <reproducer>.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/ensure-packages.sh
ensure_packages fuzz

SECONDS_EACH=${1:-60}
shift || true
ALL_TARGETS=(archive template dbd dex csv settings extraction direct_write lookup ourairports
  reconcile geojson temporaries)
TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=("${ALL_TARGETS[@]}")

BUILD_DIR=${ORVANE_FUZZ_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANE_FUZZ=ON -DORVANE_GUI=OFF -DORVANE_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target fuzz

command -v llvm-symbolizer >/dev/null || export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
SEEDS="$BUILD_DIR/fuzz-seeds"
rm -rf "$SEEDS"
"$BUILD_DIR/fuzz/orvane_fuzz_seeds" "$SEEDS"

FINDINGS="$BUILD_DIR/findings"
RAM=$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/orvane-fuzz.$$
trap 'rm -rf "$RAM"' EXIT
failed=()
printf '%-14s %12s %9s  %s\n' target runs exec/s result
for t in "${TARGETS[@]}"; do
  corpus="$BUILD_DIR/corpus/$t"
  mkdir -p "$corpus" "$FINDINGS/$t"
  log="$BUILD_DIR/fuzz-$t.log"
  status=0
  ORVANE_FUZZ_RAM="$RAM/$t" "$BUILD_DIR/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" \
    -print_final_stats=1 -artifact_prefix="$FINDINGS/$t/" "$corpus" "$SEEDS/$t" >"$log" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  reproducer=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
  if [ "$status" -ne 0 ] || [ -n "$reproducer" ]; then
    failed+=("$t")
    printf '%-14s %12s %9s  FINDING: %s (log %s)\n' "$t" "${runs:-?}" "${rate:-?}" \
      "${reproducer:-none written}" "$log"
    grep -m 3 -E 'ERROR|runtime error|invariant broken|SUMMARY' "$log" | sed 's/^/    /' || true
  else
    printf '%-14s %12s %9s  ok\n' "$t" "${runs:-?}" "${rate:-?}"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
echo "Fuzzing: ${#TARGETS[@]} targets, no finding"
