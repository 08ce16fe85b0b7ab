#!/usr/bin/env bash
# Configures and builds one of the project's builds into build/<name>.
#   native   g++, Debug, AddressSanitizer + UndefinedBehaviorSanitizer, tests
#   windows  MinGW-w64 cross build: Orvan.exe, orvan-cli.exe and the Wine test suites
#   fuzz     clang with libFuzzer targets
#   release  g++, Release, with the benchmarks
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
name=${1:?usage: build.sh native|windows|fuzz|release}
dir=$root/build/$name
jobs=${ORVAN_JOBS:-$(nproc)}

case $name in
    native)
        args=(-DCMAKE_BUILD_TYPE=Debug -DORVAN_SANITIZE=ON) ;;
    windows)
        args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake) ;;
    fuzz)
        args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
              -DORVAN_FUZZ=ON -DORVAN_TESTS=OFF) ;;
    release)
        args=(-DCMAKE_BUILD_TYPE=Release -DORVAN_BENCH=ON -DORVAN_TESTS=OFF) ;;
    *)
        echo "build.sh: unknown build '$name'" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
cmake --build "$dir" -j "$jobs"
