#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in a tree of their own and
# runs each of them for SECONDS (default 20):
#   bash tools/fuzz.sh [SECONDS] [TARGET...]
# FUZZ_BUILD_DIR (default: build-fuzz) is the tree. Each target keeps its
# corpus in FUZZ_BUILD_DIR/corpus/TARGET (seeded from fuzz/corpus/TARGET when
# that exists) and writes what it finds to FUZZ_BUILD_DIR/findings/TARGET/.
# Exits non-zero when a target finds a crash, a leak or undefined behaviour.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
build=${FUZZ_BUILD_DIR:-build-fuzz}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DIRVANTA_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DIRVANTA_BUILD_TESTS=OFF -DIRVANTA_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target irvanta_fuzz

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(grep -v '^$' "$build/fuzz/targets.txt")
fi

failed=()
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$corpus" "$findings"
  seeds=()
  [ -d "fuzz/corpus/$t" ] && seeds=("fuzz/corpus/$t")
  log="$build/findings/$t.log"
  echo "fuzz: $t for ${seconds}s"
  if UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "$build/fuzz/$t" -max_total_time="$seconds" \
       -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    echo "fuzz: $t clean, ${runs:-?} executions"
  else
    tail -n 40 "$log"
    echo "fuzz: $t FOUND A FAULT (log $log, input in $findings/)"
    failed+=("$t")
  fi
done
[ ${#failed[@]} -eq 0 ]
