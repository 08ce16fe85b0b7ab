#!/usr/bin/env bash
# Configures and builds one of the project's builds into build/<name>.
#   native   g++, Debug, AddressSanitizer + UndefinedBehaviorSanitizer, tests
#   windows  MinGW-w64 cross build: Orvan.exe, orvan-cli.exe and the Wine test suites
#   dist     MinGW-w64 cross build of the released Orvan.exe alone, reproducible (scripts/release.sh)
#   fuzz     clang with libFuzzer targets
#   release  g++, Release, with the benchmarks
#   tsan     g++, ThreadSanitizer, the stress tests of the background work
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
name=${1:?usage: build.sh native|windows|dist|fuzz|release|tsan}
dir=$root/build/$name
jobs=${ORVAN_JOBS:-$(nproc)}

case $name in
    native)
        args=(-DCMAKE_BUILD_TYPE=Debug -DORVAN_SANITIZE=ON) ;;
    windows)
        args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake) ;;
    dist)
        args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake
              -DORVAN_TESTS=OFF -DORVAN_REPRODUCIBLE=ON) ;;
    fuzz)
        args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
              -DORVAN_FUZZ=ON -DORVAN_TESTS=OFF) ;;
    release)
        args=(-DCMAKE_BUILD_TYPE=Release -DORVAN_BENCH=ON -DORVAN_TESTS=OFF) ;;
    tsan)
        args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVAN_TSAN=ON) ;;
    *)
        echo "build.sh: unknown build '$name'" >&2; exit 2 ;;
esac

# A compiler cache, where one is installed, spares rebuilding what did not change (several
# clones on one machine share it); CI machines have none and build everything.
if command -v ccache >/dev/null 2>&1 && [ "${ORVAN_CCACHE:-1}" != 0 ]; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")} CCACHE_NOHASHDIR=1
    args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
# The stress tests' build needs only them.
targets=()
[ "$name" = tsan ] && targets=(--target orvan_stress_tests)
# A release needs the program and its translations only.
[ "$name" = dist ] && targets=(--target Orvan)
# ORVAN_BUILD_LOCK names a lock file that lets only one build run at a time on a machine
# whose cores several clones share.
if [ -n "${ORVAN_BUILD_LOCK:-}" ]; then
    exec flock "$ORVAN_BUILD_LOCK" cmake --build "$dir" -j "$jobs" "${targets[@]}"
fi
cmake --build "$dir" -j "$jobs" "${targets[@]}"
