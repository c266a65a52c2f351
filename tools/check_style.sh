#!/usr/bin/env bash
# Fails on any difference from .clang-format in any C++ file of the tree, and on any finding of
# the .clang-tidy checks in any file of the program. clang-tidy reads the compile database of a
# configured build (default build/test) and runs on all cores; the tests, tools, benchmarks and
# fuzz targets get clang-format only, which keeps the whole check within a few minutes.
#   tools/check_style.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
jobs=$(nproc)

mapfile -t sources < <(find game engine framework platform tests tools bench fuzz \
  \( -name '*.cpp' -o -name '*.h' \) -not -path '*/corpus/*' | sort)
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

[ -f "$build/compile_commands.json" ] || { echo "check_style: no $build/compile_commands.json; configure the build first" >&2; exit 1; }
program=$(find game engine framework platform -name '*.cpp' | wc -l)
echo "clang-tidy: $program files of the program, $jobs at a time"
# run-clang-tidy takes a regular expression of the files to check from the database.
root=$(pwd)
run-clang-tidy -quiet -p "$build" -j "$jobs" "^$root/(game|engine|framework|platform)/.*\.cpp\$" \
  > "$build/clang-tidy.log" 2>&1 || {
  grep -E 'error:|warning:' "$build/clang-tidy.log" | sort -u >&2 || cat "$build/clang-tidy.log" >&2
  echo "check_style: clang-tidy found the problems above (full output: $build/clang-tidy.log)" >&2
  exit 1
}
echo "clang-tidy: clean"
