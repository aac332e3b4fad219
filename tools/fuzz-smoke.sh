#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs each for a bounded time
# over its committed seeds and regressions. A crash, leak or sanitizer report fails the run;
# its input is left in build/fuzz/ to be kept as a regression.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
run() {
  local target="$1" seeds="$2" regressions="$3"
  local work="build/fuzz/work-$target" log="build/fuzz/$target.log" status=0
  mkdir -p "$work"
  echo "fuzzing $target for ${seconds}s"
  "build/fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="build/fuzz/$target-" \
    "$work" "$seeds" "$regressions" >"$log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)" "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -40 "$log"
    echo "$target failed (exit $status)"
    return "$status"
  fi
}
run score_reader_fuzz notecraft/fuzz/corpus notecraft/fuzz/regressions
run midi_import_fuzz notecraft/fuzz/midi-corpus notecraft/fuzz/midi-regressions
run reply_parser_fuzz webupdate/fuzz/corpus webupdate/fuzz/regressions
