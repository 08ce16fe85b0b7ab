#!/usr/bin/env bash
# Builds the benchmarks (the release build of scripts/build.sh: Release, Google Benchmark)
# into build/release and runs them on one core. Arguments go to the benchmark program, for
# example
#   scripts/bench.sh --benchmark_filter='CandidateList|CatalogStep'
# ORVAN_BENCH_CPU picks the core (default 0); ORVAN_BENCH_DIR the folder for the generated
# files (default the system's temporary folder; the catalog file of a million entries and
# the tree of 100 000 files need about 200 MB). ORVAN_BUILD_LOCK is passed on to the build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" release
run=("$root/build/release/bench/orvan_bench")
if command -v taskset >/dev/null 2>&1; then
    run=(taskset -c "${ORVAN_BENCH_CPU:-0}" "${run[@]}")
fi
echo "bench: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
exec "${run[@]}" "$@"
