#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, only those that are missing.
# Usage: scripts/setup.sh [--run]   (--run adds what the run command needs besides)
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
          libbenchmark-dev libexpat1-dev pkg-config mingw-w64 g++-mingw-w64-x86-64-posix
          wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick clang-format python3 libxml2-utils
          liblnk-utils)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: run as root to install packages" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
