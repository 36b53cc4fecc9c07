#!/usr/bin/env bash
# Keeps the source a stack: app/ on top, the subsystems in the middle, shared/ and platform/
# at the bottom. Fails, naming each offending line, when
#   - a file outside src/app/ includes app/,
#   - a file in src/replays/ includes menus/ (replays/ tells app/ what to set instead),
#   - a file in src/shared/ includes anything of ours but shared/ and platform/,
#   - a file in src/platform/ includes anything of ours but platform/.
# Includes are read in either form ("..." or <...>) and with or without "../" in front.
#
#   scripts/check-layers.sh [SOURCE_DIR]     (default: the src/ beside this script)
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}

for folder in app shared platform; do
    [[ -d $src/$folder ]] || { echo "check-layers: no $src/$folder: not a source folder" >&2; exit 2; }
done
ours=$(find "$src" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | paste -sd'|')

# Every include of one of our folders in the files under a folder, as "file:line:text".
includes_of_ours() {
    grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](\.\./)*($ours)/" "$src/$1" || true
}
# Those that include one of the given folders.
reaching_into() {
    includes_of_ours "$1" | grep -E "#[[:space:]]*include[[:space:]]*[<\"](\.\./)*($2)/" || true
}
# Those whose folder is not one of the allowed ones.
reaching_up() {
    includes_of_ours "$1" | grep -vE "#[[:space:]]*include[[:space:]]*[<\"](\.\./)*($2)/" || true
}

found=$(
    for folder in "$src"/*/; do
        name=$(basename "$folder")
        [[ $name == app ]] && continue
        reaching_into "$name" app
    done
    reaching_into replays menus
    reaching_up shared 'shared|platform'
    reaching_up platform 'platform'
)

if [[ -n $found ]]; then
    echo "check-layers: these includes reach above their layer:" >&2
    echo "$found" >&2
    exit 1
fi
echo "check-layers: app/ on top, the subsystems (replays/ below menus/), then shared/ and platform/: no include reaches up"
