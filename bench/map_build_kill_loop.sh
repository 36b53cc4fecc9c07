#!/usr/bin/env bash
# quonfel-map build over an existing map, killed at random moments: prints how many kills
# found the tool still running and how many left the map empty, cut or other than the old or
# the new content. Usage: bench/map_build_kill_loop.sh QUONFEL-MAP [ROUNDS]
set -euo pipefail
tool=$1 rounds=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '/= == == =\\\n|| .. .. ||\n\\= S> G> =/\n' >old.txt
printf '/= == == == =\\\n|| .. .. .. ||\n\\= S> == G> =/\n' >new.txt
"$tool" build old.txt old.map && "$tool" build new.txt new.map
# The kills spread over the time a whole build takes here.
start=$(date +%s%N)
for _ in 1 2 3; do "$tool" build new.txt timing.map; done
span_ms=$(( ($(date +%s%N) - start) / 3000000 + 1 ))
killed_running=0 bad=0
for ((round = 0; round < rounds; ++round)); do
    cp old.map out.map
    "$tool" build new.txt out.map &
    pid=$!
    sleep "$(printf '0.%03d' $((RANDOM % span_ms % 1000)))"
    kill -9 "$pid" 2>/dev/null && killed_running=$((killed_running + 1))
    wait "$pid" 2>/dev/null || true
    cmp -s out.map old.map || cmp -s out.map new.map || { bad=$((bad + 1)); ls -l out.map; }
done
echo "a build takes $span_ms ms; $rounds kills, $killed_running while the tool ran; $bad maps emptied, cut or mixed"
