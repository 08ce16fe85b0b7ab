#!/usr/bin/env bash
# Sets up, builds and runs every test: the native suites (with sanitizers), the fuzz
# targets for a bounded time, then the Windows suites and the command-line checks under
# Wine. Ends with one line "tests: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
"$root/scripts/setup.sh" || exit 1

passed=0
failed=0
count_ctest() { # ctest output file
    local line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
    if [ -z "$line" ]; then
        failed=$((failed + 1))
        return
    fi
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
}
# Adds the counts of a script check's log, whose last line is "WORD: N passed, M failed"; a
# log without that line (the checks did not finish) counts as one failure.
count_checks() { # log file
    local line
    line=$(tail -n 1 "$1")
    if [[ $line =~ ^[a-z_]+:\ ([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
        passed=$((passed + BASH_REMATCH[1]))
        failed=$((failed + BASH_REMATCH[2]))
    else
        failed=$((failed + 1))
    fi
}
logs=$root/build/logs
mkdir -p "$logs"

echo "== layers: the core includes only itself and the standard library"
if "$root/scripts/check_layers.sh" 2>&1 | tee "$logs/layers.log"; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi
"$root/tests/scripts/check_layers_test.sh" 2>&1 | tee "$logs/layers-test.log" | tail -n 1
count_checks "$logs/layers-test.log"

echo "== release: the generated manifests agree with the files they describe"
python3 "$root/tests/scripts/release_manifests_test.py" 2>&1 | tee "$logs/release-manifests.log" | tail -n 1
count_checks "$logs/release-manifests.log"

echo "== native build and tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
if "$root/scripts/build.sh" native >"$logs/native-build.log" 2>&1; then
    (cd "$root/build/native" && ctest --output-on-failure -j "$(nproc)") 2>&1 | tee "$logs/native-ctest.log" | tail -n 4
    count_ctest "$logs/native-ctest.log"
else
    tail -n 40 "$logs/native-build.log"; failed=$((failed + 1))
fi

echo "== the catalog's background work under random load (ThreadSanitizer, ${ORVAN_STRESS_SECONDS:=30} s)"
if "$root/scripts/build.sh" tsan >"$logs/tsan-build.log" 2>&1; then
    if ORVAN_STRESS_SECONDS=$ORVAN_STRESS_SECONDS TSAN_OPTIONS="halt_on_error=1 exitcode=66" \
            "$root/build/tsan/tests/orvan_stress_tests" >"$logs/stress.log" 2>&1; then
        grep '^stress:' "$logs/stress.log"; passed=$((passed + 1))
    else
        echo "stress: FAILED"; tail -n 40 "$logs/stress.log"; failed=$((failed + 1))
    fi
else
    tail -n 40 "$logs/tsan-build.log"; failed=$((failed + 1))
fi

echo "== command-line checks (native)"
if [ -x "$root/build/native/src/cli/orvan-cli" ]; then
    "$root/tests/cli/run_cli_checks.sh" "$root/build/native/src/cli/orvan-cli" 2>&1 | tee "$logs/cli-native.log" | tail -n 1
    count_checks "$logs/cli-native.log"
fi

echo "== fuzz targets (${ORVAN_FUZZ_SECONDS:=30} s each)"
if "$root/scripts/build.sh" fuzz >"$logs/fuzz-build.log" 2>&1; then
    for target in "$root"/build/fuzz/fuzz/fuzz_*; do
        [ -x "$target" ] || continue
        name=$(basename "$target")
        corpus=$root/build/fuzz-corpus/$name
        mkdir -p "$corpus"
        inputs=("$corpus")
        seeds=$root/fuzz/seeds/${name#fuzz_}
        [ -d "$seeds" ] && inputs+=("$seeds")
        if "$target" -max_total_time="$ORVAN_FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
                -max_len=4096 "${inputs[@]}" >"$logs/$name.log" 2>&1; then
            echo "$name: no crash, hang or sanitizer report"; passed=$((passed + 1))
        else
            echo "$name: FAILED"; tail -n 30 "$logs/$name.log"; failed=$((failed + 1))
        fi
    done
else
    tail -n 40 "$logs/fuzz-build.log"; failed=$((failed + 1))
fi

echo "== Windows build and tests under Wine"
if "$root/scripts/build.sh" windows >"$logs/windows-build.log" 2>&1; then
    export WINEPREFIX=$root/build/wine-prefix WINEDEBUG=-all
    # shellcheck source=xvfb.sh
    . "$root/scripts/xvfb.sh"
    trap orvan_stop_display EXIT
    orvan_start_display
    (cd "$root/build/windows" && ctest --output-on-failure --timeout 600) 2>&1 | tee "$logs/windows-ctest.log" | tail -n 4
    count_ctest "$logs/windows-ctest.log"
    # Static linking: the programs must import only system DLLs, never MinGW's runtime; and
    # at load time only Windows' known DLLs, which the loader never takes from the program's
    # folder (the others are imported with delay, see cmake/delay_imports.cmake).
    known='ADVAPI32|COMDLG32|GDI32|KERNEL32|msvcrt|ole32|OLEAUT32|SHELL32|USER32'
    for exe in "$root/build/windows/src/app/Orvan.exe" "$root/build/windows/src/cli/orvan-cli.exe"; do
        if x86_64-w64-mingw32-objdump -p "$exe" | grep -iqE 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
            echo "$(basename "$exe"): needs a MinGW DLL"; failed=$((failed + 1))
        else
            echo "$(basename "$exe"): no MinGW DLL needed"; passed=$((passed + 1))
        fi
        other=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p' \
                    | grep -viE "^($known)\.dll$" || true)
        if [ -n "$other" ]; then
            echo "$(basename "$exe"): loads at start from wherever it lies: $other"; failed=$((failed + 1))
        else
            echo "$(basename "$exe"): loads only known system DLLs at start"; passed=$((passed + 1))
        fi
    done
    echo "== command-line checks (orvan-cli.exe under Wine)"
    "$root/tests/cli/run_cli_checks.sh" "$root/scripts/wine-run.sh" "$root/build/windows/src/cli/orvan-cli.exe" 2>&1 \
        | tee "$logs/cli-wine.log" | tail -n 1
    count_checks "$logs/cli-wine.log"
    echo "== installation checks (install_probe.exe and Orvan.exe -silent under Wine, read with reg, lnkinfo, cmp)"
    "$root/tests/install_probe/run_install_checks.sh" "$root/build/windows/tests/install_probe.exe" \
        "$root/build/windows/src/app/Orvan.exe" 2>&1 \
        | tee "$logs/install-wine.log" | tail -n 1
    count_checks "$logs/install-wine.log"
else
    tail -n 40 "$logs/windows-build.log"; failed=$((failed + 1))
fi

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
