#!/usr/bin/env bash
# Measures the game once for each set of game options and prints the figures side by side:
#
#   scripts/measure-side-by-side.sh [GAME_DIR] [SECONDS] -- "--scale 1" "--scale 3" "--scale 3 pad"
#
# Each set is one run of scripts/measure-game.sh, one after the other, on an X server whose
# screen takes the largest --scale asked for (at least 1280x1024). The word "pad" in a set
# plugs an untouched gamepad into that run.
set -euo pipefail
cd "$(dirname "$0")/.."
GAME_DIR=${1:-build/game}
SECONDS_PER_STRETCH=${2:-20}
shift $(($# >= 2 ? 2 : $#))
[[ ${1:-} == -- ]] && shift
(($# > 0)) || set -- "--scale 1" "--scale 3"

largest=1
for set in "$@"; do
    [[ $set =~ --scale[=\ ]([1-6]) ]] && ((BASH_REMATCH[1] > largest)) && largest=${BASH_REMATCH[1]}
done
width=$((640 * largest > 1280 ? 640 * largest : 1280))
height=$((480 * largest > 1024 ? 480 * largest : 1024))

WORK=$(mktemp -d /tmp/quonfel-side-by-side-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
echo "screen ${width}x$height, ${SECONDS_PER_STRETCH} s stretches, load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
runs=0
for set in "$@"; do
    read -r -a words <<<"$set"
    options=() pad=0
    for word in "${words[@]}"; do [[ $word == pad ]] && pad=1 || options+=("$word"); done
    SCREEN=${width}x$height WITH_PAD=$pad scripts/measure-game.sh "$GAME_DIR" "$SECONDS_PER_STRETCH" -- "${options[@]}" \
        >"$WORK/$runs"
    runs=$((runs + 1))
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

# Every report line is "what: figures"; the figures of each run go in a column of their own.
awk -F': *' -v runs="$runs" -v sets="$(printf '%s\n' "$@")" '
    BEGIN { split(sets, title, "\n"); printf "%-24s", ""; for (r = 1; r <= runs; r++) printf " | %-34s", title[r]; print "" }
    FNR == 1 { run++ }
    { label[FNR] = $1; v = substr($0, length($1) + 2); sub(/^ +/, "", v); sub(/ +\(target[^)]*\)/, "", v)
      value[FNR, run] = v; if (FNR > lines) lines = FNR }
    END { for (l = 1; l <= lines; l++) { printf "%-24s", label[l]; for (r = 1; r <= runs; r++) printf " | %-34s", value[l, r]; print "" } }
' $(for ((r = 0; r < runs; r++)); do echo "$WORK/$r"; done)
