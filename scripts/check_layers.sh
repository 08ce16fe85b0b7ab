#!/usr/bin/env bash
# Fails when the portable core reaches past its ports: every quoted include under the core
# must name another core header ("core/..."), and every angle-bracket include must be a
# standard C++ header (a bare name such as <string>; <windows.h>, <sys/stat.h> or
# <expat.h> are not). Prints each offending line as FILE:LINE: TEXT.
# Usage: check_layers.sh [CORE FOLDER]   (default: src/core of this repository)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
core=${1:-$root/src/core}
if [ ! -d "$core" ]; then
    echo "check_layers: no folder $core" >&2
    exit 2
fi

bad=0
while IFS= read -r hit; do
    # hit: FILE:LINE:TEXT
    text=${hit#*:*:}
    if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]*)\" ]]; then
        [[ ${BASH_REMATCH[1]} == core/* ]] && continue
    elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]*)\> ]]; then
        [[ ${BASH_REMATCH[1]} =~ ^[a-z_0-9]+$ ]] && continue
    fi
    echo "$hit"
    bad=$((bad + 1))
done < <(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
    '^[[:space:]]*#[[:space:]]*include' "$core")

if [ "$bad" -gt 0 ]; then
    echo "check_layers: $bad include(s) in the core reach outside it; go through a port" >&2
    exit 1
fi
echo "check_layers: the core includes only itself and the standard library"
