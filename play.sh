#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from this folder (the one that
# holds Data/).
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup.sh
jobs=$(nproc)
cmake -S . -B build/play -DCMAKE_BUILD_TYPE=Release -DREEFMAW_TESTS=OFF -DREEFMAW_BENCH=OFF >/dev/null
cmake --build build/play -j "$jobs" --target reefmaw
exec ./build/play/reefmaw
