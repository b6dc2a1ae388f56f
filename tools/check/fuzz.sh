#!/usr/bin/env bash
# Builds the fuzzers of fuzz/ with clang and libFuzzer in build/fuzz and runs
# each for a bounded time, starting from the seeds in fuzz/corpus/<target>/.
# Usage: tools/check/fuzz.sh [SECONDS-PER-TARGET (60)] [TARGET...]
# Exits non-zero when a fuzzer finds a crash; its reproducer is left in
# build/fuzz/ as <target>-crash-*, -leak-*, -oom-* or -timeout-*.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(registry_text resource_file bitmap wave)
case "$seconds" in (''|*[!0-9]*) echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2;; esac

tools/build/need_packages.sh clang libclang-rt-14-dev cmake ninja-build

build=build/fuzz
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

# Memory is judged by what is really used, not by what is asked for. So single allocations are
# not limited (impossible ones just fail, as in the program), but a process
# that grows past 1 GB for a few kilobytes of input is an out-of-memory find.
# What the caller sets comes first, so that these settings, which the
# fuzzers need, win.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}allocator_may_return_null=1:detect_leaks=1"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=()
summary=()
for target in "${targets[@]}"; do
  fuzzer="$build/${target}_fuzzer"
  [ -x "$fuzzer" ] || { echo "no fuzzer named $target" >&2; exit 2; }
  # New inputs go to a scratch corpus in the build tree; the seeds in the
  # repository are only read, so they stay small.
  work="$build/work/$target"
  mkdir -p "$work"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=1000000
           -artifact_prefix="$build/$target-" -print_final_stats=1)
  [ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
  log="$build/$target.log"
  echo "== $target: ${seconds} s (log: $log)"
  status=0
  "$fuzzer" "${options[@]}" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$status" -ne 0 ]; then
    failed+=("$target")
    grep -E "^(==[0-9]+==ERROR|SUMMARY|horalia fuzz:|.*runtime error:|artifact_prefix|Test unit written)" "$log" | head -8 || true
    summary+=("$target: FAILED (exit $status), ${runs:-?} runs, ${speed:-?} exec/s")
  else
    summary+=("$target: ok, ${runs:-?} runs, ${speed:-?} exec/s")
  fi
done

echo
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Crashes in: ${failed[*]}. Reproducers are in $build/; replay one with" >&2
  echo "  $build/<target>_fuzzer <file>" >&2
  exit 1
fi
