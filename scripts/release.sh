#!/usr/bin/env bash
# Builds a release a Windows user can install and writes it to dist/:
#   Orvan-VERSION-win64.exe   the standalone program, which installs itself
#   Orvan-VERSION-win64.zip   Orvan.exe, its translations, README and LICENSE: a portable copy
#   SHA256SUMS                both files' hashes, in sha256sum's format
#   orvan.json                the Scoop manifest of the zip
#   Morvane.Orvan*.yaml       the three winget manifests of the standalone program
# Two runs from one commit give the same bytes, in any clone. Runs on Debian as root and
# installs what it needs, as the other commands do.
# Usage: scripts/release.sh [--base-url URL]   (default https://morvane.example/download/)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

base_url=https://morvane.example/download/
while [ $# -gt 0 ]; do
    case $1 in
        --base-url) base_url=${2:?release.sh: --base-url needs a URL}; shift 2 ;;
        --base-url=*) base_url=${1#--base-url=}; shift ;;
        *) echo "usage: release.sh [--base-url URL]" >&2; exit 2 ;;
    esac
done

"$root/scripts/setup.sh"

# The version's one source is version_defs.h; the preprocessor makes its package form
# ("0.1.0-beta.1") exactly as the program's resources get it.
version=$(printf '#include "%s"\nORVAN_PACKAGE_VERSION\n' "$root/src/core/robot/version_defs.h" \
              | cpp -P | tr -d '" \n')
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+(-beta\.[0-9]+)?$ ]] \
    || { echo "release: no version in version_defs.h ($version)" >&2; exit 1; }

echo "release: building Orvan.exe $version"
# Always from scratch: an object left from an earlier build of changed sources must never
# reach a release (the compiler cache, where there is one, keeps this quick).
rm -rf "$root/build/dist"
mkdir -p "$root/build"
"$root/scripts/build.sh" dist >"$root/build/dist.log" 2>&1 \
    || { tail -n 40 "$root/build/dist.log"; exit 1; }

rm -rf "$root/dist"
python3 "$root/scripts/release/make_release.py" \
    --program "$root/build/dist/src/app/Orvan.exe" \
    --languages "$root/build/dist/src/app/Languages" \
    --readme "$root/README.md" --license "$root/LICENSE" \
    --version "$version" --base-url "$base_url" --out "$root/dist"
(cd "$root/dist" && sha256sum -c SHA256SUMS >/dev/null)
ls -l "$root/dist" | sed 1d | awk '{print "release: " $NF " (" $5 " bytes)"}'
