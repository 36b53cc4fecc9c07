#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/install-packages.sh "${GAME_PACKAGES[@]}"
cmake -S . -B build -DQUONFEL_TESTS=OFF -DQUONFEL_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
cd build/game
exec ./quonfel
