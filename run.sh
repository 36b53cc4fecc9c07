#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it; options go to the game
# (./run.sh --scale auto).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
source scripts/build-options.sh
scripts/install-packages.sh "${GAME_PACKAGES[@]}"
cmake -S . -B build "${GAME_BUILD_OPTIONS[@]}" >/dev/null
cmake --build build -j"$(nproc)"
cd build/game
exec ./quonfel "$@"
