#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it; options go to the game
# (./run.sh --scale auto).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
source scripts/build-options.sh
scripts/install-packages.sh "${GAME_PACKAGES[@]}"
cmake -S . -B build "${GAME_BUILD_OPTIONS[@]}" >/dev/null
# Build progress goes to stderr, without the lines of targets already built: when nothing
# needs compiling the build says nothing, so ./run.sh --help shows the help alone.
cmake --build build -j"$(nproc)" | sed -u '/Built target/d' >&2
cd build/game
exec ./quonfel "$@"
