#!/usr/bin/env bash
# Fails on any difference from .clang-format in any C++ file of the tree, and on any finding of
# the .clang-tidy checks in any file of the program. clang-tidy reads the compile database of a
# configured build (default build/test) and runs on all cores; the tests, tools, benchmarks and
# fuzz targets get clang-format only.
#
# A file that passed clang-tidy is not checked again while nothing it is made of changes: its
# own text, every project header it includes, the compile command, the checks' settings and
# clang-tidy itself (system headers count by size and date). The passes are kept in
# BUILD_DIR/clang-tidy-passed. Under CI=true every file is checked, whatever was kept.
#   tools/check_style.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
jobs=$(nproc)
root=$(pwd)

mapfile -t sources < <(find game engine framework platform tests tools bench fuzz \
  \( -name '*.cpp' -o -name '*.h' \) -not -path '*/corpus/*' | sort)
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

[ -f "$build/compile_commands.json" ] || { echo "check_style: no $build/compile_commands.json; configure the build first" >&2; exit 1; }
passed="$build/clang-tidy-passed"
mkdir -p "$passed"

# What the checks of every file depend on besides the file's own makings.
common=$( { clang-tidy --version; cat .clang-tidy platform/.clang-tidy; } | sha256sum | cut -d' ' -f1)

# The dependency file the compiler wrote for each program file's object.
mapfile -t program < <(find game engine framework platform -name '*.cpp' | sort)
declare -A depfile
while IFS= read -r d; do
  source=${d#*.dir/}
  depfile[${source%.o.d}]=$d
done < <(find "$build/CMakeFiles" -name '*.cpp.o.d')

# Every file the compilations read, fingerprinted once: the project's own by their text, the
# system's by size and date. Paths in the dependency files are as the compiler saw them,
# relative to the build folder or absolute.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for d in "${depfile[@]}"; do
  sed -e '1s/^[^:]*://' -e 's/\\$//' "$d" | tr ' ' '\n'
done | sed '/^$/d' | sort -u > "$work/deps"
(cd "$build" && xargs -d '\n' realpath -m < "$work/deps") > "$work/resolved"
paste -d '\t' "$work/deps" "$work/resolved" > "$work/both"
{
  cut -f2 "$work/both" | grep "^$root/" | xargs -d '\n' -r sha256sum | awk '{print $2 "\t" $1}'
  cut -f2 "$work/both" | grep -v "^$root/" | xargs -d '\n' -r stat -c '%n	%s:%Y'
} > "$work/prints"

# The key of each program file: everything its compilation read and how it was compiled.
mkdir -p "$work/keys"
for i in "${!program[@]}"; do
  file=${program[$i]}
  d=${depfile[$file]:-}
  [ -n "$d" ] || continue
  {
    echo "$common"
    grep -F -B1 "\"file\": \"$root/$file\"" "$build/compile_commands.json" || true
    sed -e '1s/^[^:]*://' -e 's/\\$//' "$d" | tr ' ' '\n' | sed '/^$/d'
  } > "$work/keys/$i"
done
# Each dependency line gets its fingerprint, then each file's makings are hashed at once.
awk -F '\t' 'FNR == NR && FILENAME ~ /both$/ { real[$1] = $2; next }
              FILENAME ~ /prints$/ { print_[$1] = $2; next }
              FNR == 1 { if (out != "") close(out); out = FILENAME ".k" }
              { line = $0; if (line in real) line = line " " print_[real[line]]; print line > out }' \
  "$work/both" "$work/prints" "$work"/keys/* 2>/dev/null || true
declare -A keyOf
if compgen -G "$work/keys/*.k" > /dev/null; then
  while read -r sum path; do
    n=${path##*/}
    keyOf[${program[${n%.k}]}]=$sum
  done < <(sha256sum "$work"/keys/*.k)
fi

todo=()
keys=()
for file in "${program[@]}"; do
  key=${keyOf[$file]:-none}
  if [ "${CI:-}" != "true" ] && [ "$key" != none ] && [ -f "$passed/$key" ]; then
    continue
  fi
  todo+=("$file")
  keys+=("$key")
done

echo "clang-tidy: ${#todo[@]} of ${#program[@]} files of the program to check, $jobs at a time"
if [ ${#todo[@]} -gt 0 ]; then
  # run-clang-tidy takes regular expressions of the files to check from the database.
  patterns=()
  for file in "${todo[@]}"; do patterns+=("^$root/${file//./\\.}\$"); done
  run-clang-tidy -quiet -p "$build" -j "$jobs" "${patterns[@]}" > "$build/clang-tidy.log" 2>&1 || {
    grep -E 'error:|warning:' "$build/clang-tidy.log" | sort -u >&2 || cat "$build/clang-tidy.log" >&2
    echo "check_style: clang-tidy found the problems above (full output: $build/clang-tidy.log)" >&2
    exit 1
  }
  for key in "${keys[@]}"; do
    [ "$key" = none ] || : > "$passed/$key"
  done
fi
echo "clang-tidy: clean"
