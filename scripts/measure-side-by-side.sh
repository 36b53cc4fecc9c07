#!/usr/bin/env bash
# Measures the game once for each set of game options and prints the figures side by side:
#
#   scripts/measure-side-by-side.sh [GAME_DIR] [SECONDS] -- "--scale 1" "--scale 3" "--scale 3 pad"
#   REPEAT=3 scripts/measure-side-by-side.sh build/game 10 -- "--scale 1" "game=/tmp/old/game --scale 1"
#
# Each set is one run of scripts/measure-game.sh, one after the other, on an X server whose
# screen takes the largest --scale asked for (at least 1280x1024). The word "pad" in a set
# plugs an untouched gamepad into that run; "game=DIR" measures the game in DIR instead of
# GAME_DIR, so that builds can be compared in the same run. REPEAT=N runs all the sets N times
# in turn (so that a busier minute falls on each of them alike) and shows each figure's
# median.
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
REPEAT=${REPEAT:-1}
for ((round = 0; round < REPEAT; round++)); do
    runs=0
    for set in "$@"; do
        read -r -a words <<<"$set"
        options=() pad=0 game=$GAME_DIR
        for word in "${words[@]}"; do
            case $word in
            pad) pad=1 ;;
            game=*) game=${word#game=} ;;
            *) options+=("$word") ;;
            esac
        done
        SCREEN=${width}x$height WITH_PAD=$pad scripts/measure-game.sh "$game" "$SECONDS_PER_STRETCH" -- "${options[@]}" \
            >"$WORK/$runs.$round"
        runs=$((runs + 1))
    done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

# The median of each figure over the rounds: every number of a line is the median of the
# numbers in its place; the words are the first round's.
for ((r = 0; r < runs; r++)); do
    awk -v rounds="$REPEAT" '
        { n = split($0, word, / +/); lines[FNR] = n; for (i = 1; i <= n; i++) w[FNR, i, ++count[FNR, i]] = word[i] }
        END {
            for (l = 1; l in lines; l++) {
                out = ""
                for (i = 1; i <= lines[l]; i++) {
                    k = 0
                    for (j = 1; j <= count[l, i]; j++) if (w[l, i, j] ~ /^-?[0-9]+(\.[0-9]+)?$/) v[++k] = w[l, i, j] + 0
                    text = w[l, i, 1]
                    if (k == rounds) {
                        for (a = 1; a <= k; a++) for (b = a + 1; b <= k; b++) if (v[b] < v[a]) { t = v[a]; v[a] = v[b]; v[b] = t }
                        text = (text ~ /\./) ? sprintf("%.2f", v[int((k + 1) / 2)]) : v[int((k + 1) / 2)]
                    }
                    out = out (i > 1 ? " " : "") text
                }
                print out
            }
        }' $(for ((round = 0; round < REPEAT; round++)); do echo "$WORK/$r.$round"; done) >"$WORK/$r"
done

# Every report line is "what: figures"; the figures of each run go in a column of their own.
awk -F': *' -v runs="$runs" -v sets="$(printf '%s\n' "$@")" '
    BEGIN { split(sets, title, "\n"); printf "%-24s", ""; for (r = 1; r <= runs; r++) printf " | %-34s", title[r]; print "" }
    FNR == 1 { run++ }
    { label[FNR] = $1; v = substr($0, length($1) + 2); sub(/^ +/, "", v); sub(/ +\(target[^)]*\)/, "", v)
      value[FNR, run] = v; if (FNR > lines) lines = FNR }
    END { for (l = 1; l <= lines; l++) { printf "%-24s", label[l]; for (r = 1; r <= runs; r++) printf " | %-34s", value[l, r]; print "" } }
' $(for ((r = 0; r < runs; r++)); do echo "$WORK/$r"; done)
