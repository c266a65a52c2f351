#!/usr/bin/env bash
# Fails on any difference from .clang-format in any C++ file of the tree, and on any finding of
# the .clang-tidy checks in any file of the program. clang-tidy reads the compile database of a
# configured and built build folder (default build/test) and runs on all cores; the tests,
# tools, benchmarks and fuzz targets get clang-format only. tools/tidy_program.py says how
# clang-tidy's passes are kept, so that a second run checks only what changed.
#   tools/check_style.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}

mapfile -t sources < <(find game engine framework platform tests tools bench fuzz \
  \( -name '*.cpp' -o -name '*.h' \) -not -path '*/corpus/*' | sort)
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

[ -f "$build/compile_commands.json" ] || { echo "check_style: no $build/compile_commands.json; configure the build first" >&2; exit 1; }
exec python3 tools/tidy_program.py "$build"
