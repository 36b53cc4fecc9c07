#!/usr/bin/env bash
# Keeps the source a stack: app/ on top, the subsystems in the middle, shared/ and platform/
# at the bottom. Fails, naming each offending line, when
#   - a file outside src/app/ includes app/,
#   - a file in src/shared/ includes anything of ours but shared/ and platform/,
#   - a file in src/platform/ includes anything of ours but platform/.
#
#   scripts/check-layers.sh [SOURCE_DIR]     (default: the src/ beside this script)
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}

# Lines '#include "folder/..."' of the files under a folder whose folder is not allowed there.
offending() {
    local folder=$1 allowed=$2
    grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$src/$folder" --include='*.h' --include='*.cpp' |
        grep -vE "#[[:space:]]*include[[:space:]]*\"($allowed)/" || true
}

found=$(
    for folder in "$src"/*/; do
        name=$(basename "$folder")
        [[ $name == app ]] && continue
        grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"app/' "$folder" --include='*.h' --include='*.cpp' || true
    done
    offending shared 'shared|platform'
    offending platform 'platform'
)

if [[ -n $found ]]; then
    echo "check-layers: these includes reach above their layer:" >&2
    echo "$found" >&2
    exit 1
fi
echo "check-layers: app/ on top, the subsystems, then shared/ and platform/: no include reaches up"
