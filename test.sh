#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the whole test suite headless and the style checks.
# At the end it prints how long each phase took.
set -euo pipefail
cd "$(dirname "$0")"

phases=()
phase_start=$SECONDS
total_start=$SECONDS
# Ends the phase that is running, under the given name.
phase_done() {
  phases+=("$1 $((SECONDS - phase_start))s")
  phase_start=$SECONDS
}
report_phases() {
  [ ${#phases[@]} -gt 0 ] || return 0
  echo "Phase times: ${phases[*]}; total $((SECONDS - total_start))s"
}
trap report_phases EXIT

./tools/setup.sh --test
phase_done setup
jobs=$(nproc)
# Line tables are all the sanitizers' reports need (file and line of every frame); full
# debug information would add a fifth to the build. Build a folder of your own for a debugger.
flags=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DREEFMAW_SANITIZE=ON -DREEFMAW_BENCH=OFF
       -DREEFMAW_UNITY=ON)
if [ "${CI:-}" = "true" ]; then
  flags+=(-DREEFMAW_WERROR=ON)
fi
cmake -S . -B build/test "${flags[@]}" >/dev/null
cmake --build build/test -j "$jobs"
phase_done build
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# A sanitizer report ends the program with an error, which fails its tests.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The style checks (clang-format on every C++ file, clang-tidy on every compilation of the
# program) run beside the tests: many tests wait on clocks, processes and display servers,
# and the checks use the time. Their output follows the tests'.
style_log=build/test/check_style.log
./tools/check_style.sh build/test > "$style_log" 2>&1 &
style=$!
tests_ok=true
# One test more than there are cores: the waits of some fill the others' time.
(cd build/test && ctest --output-on-failure -j "$((jobs + 1))") || tests_ok=false
style_ok=true
wait "$style" || style_ok=false
cat "$style_log"
phase_done "tests-and-style"
$tests_ok || { echo "test.sh: tests failed" >&2; exit 1; }
$style_ok || { echo "test.sh: style checks failed" >&2; exit 1; }
