#!/usr/bin/env bash
# Sound through SDL's disk driver, which writes what the game plays into a file: nothing at all
# without --sound (no device is opened, so no file); with --sound and no device the game goes
# on silent with one line; a watched drive plays its engine and, after the goal, the chime,
# and no sample clips. The volume keys work while watching and are kept for the next start.
source "$(dirname "$0")/e2e_common.bash"
KEYS=$(cd "$(dirname "$0")/../../replays" && pwd)/0.keys
RATE=48000

# Level of a frequency ($2 Hz) and loudness (RMS) in stretches of a quarter second of the
# stream $1, "start-second level rms" a line, then "peak P" for the loudest sample.
stretches() {
    od -An -v -t f4 -w4 "$1" | awk -v hz="$2" -v rate=$RATE '
        BEGIN { n = rate / 4; c = 2 * cos(2 * 3.141592653589793 * hz / rate) }
        { x = $1 + 0; if (x > peak) peak = x; if (-x > peak) peak = -x
          s0 = x + c * s1 - s2; s2 = s1; s1 = s0; sq += x * x
          if (++i == n) { p = s1 * s1 + s2 * s2 - c * s1 * s2
                          printf "%.2f %.5f %.5f\n", t, 2 * sqrt(p > 0 ? p : 0) / n, sqrt(sq / n)
                          t += 0.25; i = 0; s1 = 0; s2 = 0; sq = 0 } }
        END { printf "peak %.5f\n", peak }'
}

start_xvfb
export SDL_AUDIODRIVER=disk
copy_game

# Without --sound: no device, so no file.
start_program "$WORK/game" env SDL_DISKAUDIOFILE="$WORK/silent.raw" ./quonfel
expect_pixel 480 110 FF0000 "course menu"
focus_game
press Return Up w Escape
expect_exit 0
[[ ! -e $WORK/silent.raw ]] || fail "an audio device was opened without --sound"

# No device to be had: one line, and the game goes on.
start_program "$WORK/game" env SDL_AUDIODRIVER=no-such-driver ./quonfel --sound
expect_pixel 480 110 FF0000 "course menu without a sound device"
focus_game
press Escape
expect_exit 0
[[ $(wc -l <"$WORK/game.log") == 1 ]] && grep -q "^quonfel: no sound: " "$WORK/game.log" ||
    fail "not one line about the missing sound device"

# A watched drive of the practice course, with sound, to its goal.
start_program "$WORK/game" env SDL_DISKAUDIOFILE="$WORK/drive.raw" ./quonfel --sound --watch "$KEYS"
wait_for 30 showing goalin.bmp || fail "the watched drive did not reach the goal"
focus_game
colour=$(shoot screen.png && pixel screen.png 502 10)
press equal
expect_pixel_gone 502 10 "$colour" "the volume shown while watching"
# The chime follows the goal: the stream must hold it (8.5 s of 4-byte samples) before the end.
stream_holds() { (($(stat -c %s "$WORK/drive.raw") >= 17 * RATE * 2)); }
wait_for 30 stream_holds || fail "the sound stream stopped growing before 8.5 s"
press Escape
expect_exit 0
grep -qx "volume = 90" "$XDG_CONFIG_HOME/quonfel/quonfel.conf" || fail "the volume was not kept"

# The chime's top note: first heard after the drive's 220 frames (7.3 s), never before.
stretches "$WORK/drive.raw" 1568 >"$WORK/chime.txt"
awk '/^peak/ { if ($2 >= 0.8) { print "a sample reached " $2; bad = 1 }; next }
     $2 > 0.02 && onset == "" { onset = $1 }
     END { if (onset == "" || onset < 7) { print "the chime began at " onset " s"; bad = 1 }; exit bad }' "$WORK/chime.txt" ||
    fail "the drive's sound: $(tr '\n' ' ' <"$WORK/chime.txt")"
# The engine runs from the first frame of the drive to the goal.
awk '$1 >= 0.5 && $1 < 6.5 && $3 < 0.03 { print "quiet at " $1 " s"; bad = 1 } END { exit bad }' "$WORK/chime.txt" ||
    fail "no engine heard while driving: $(tr '\n' ' ' <"$WORK/chime.txt")"
echo "ok"
