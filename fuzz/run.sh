#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each for a bounded
# time: fuzz/run.sh [SECONDS] (20 by default). Found inputs stay in
# build-fuzz/corpus/<target>/, crashing ones in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
out=build-fuzz
targets=(numbers_fuzz mask_fuzz dates_fuzz like_fuzz script_fuzz)

[ -f "$out/build.ninja" ] ||
  cmake -S fuzz -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$out" --parallel "$(nproc)"

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
passed=0
failed=0
for t in "${targets[@]}"; do
  corpus="$out/corpus/$t"
  mkdir -p "$corpus" "$out/artifacts"
  seeds=(fuzz/seeds/$t)
  [ -d "fuzz/seeds/$t" ] || seeds=()
  [ "$t" = script_fuzz ] && seeds+=(tests/scenarios)
  echo "== $t for ${seconds}s"
  if "$out/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
       -print_final_stats=1 -artifact_prefix="$out/artifacts/$t-" \
       "$corpus" "${seeds[@]}" >"$out/$t.log" 2>&1; then
    passed=$((passed + 1))
    grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$out/$t.log" | tail -1
  else
    failed=$((failed + 1))
    echo "$t FAILED: see $out/$t.log"
    tail -40 "$out/$t.log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
