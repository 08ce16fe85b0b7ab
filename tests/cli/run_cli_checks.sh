#!/usr/bin/env bash
# Runs orvan-cli against the case tables beside this script and compares exit code,
# standard output and standard error byte for byte. The same tables serve the native
# program and orvan-cli.exe under Wine, which proves that both give the same answers.
# Usage: run_cli_checks.sh "COMMAND PREFIX"   (for example "wine-run.sh orvan-cli.exe")
# A table line: exit<TAB>stdout<TAB>stderr<TAB>arg<TAB>arg...; "\n" in the expected texts
# stands for a line break; lines starting with # are comments.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
read -r -a cli <<<"$1"
passed=0
failed=0
for table in "$here"/*.tsv; do
    [ -e "$table" ] || continue
    while IFS= read -r line || [ -n "$line" ]; do
        case $line in '' | \#*) continue ;; esac
        # Tabs are white space to read, which would merge empty fields; split at \x1f.
        line=${line//$'\t'/$'\x1f'}
        IFS=$'\x1f' read -r -a f <<<"$line"
        want_exit=${f[0]}
        want_out=$(printf '%b' "${f[1]:-}")
        want_err=$(printf '%b' "${f[2]:-}")
        args=("${f[@]:3}")
        got_out=$("${cli[@]}" "${args[@]}" 2>/tmp/orvan-cli-err.$$)
        got_exit=$?
        got_err=$(cat /tmp/orvan-cli-err.$$)
        if [ "$got_exit" = "$want_exit" ] && [ "$got_out" = "$want_out" ] &&
            { [ "${f[2]:-}" = "*" ] || [ "$got_err" = "$want_err" ]; }; then
            passed=$((passed + 1))
        else
            failed=$((failed + 1))
            printf 'FAIL %s: %s\n  want exit %s out [%s] err [%s]\n  got  exit %s out [%s] err [%s]\n' \
                "$(basename "$table")" "${args[*]}" "$want_exit" "$want_out" "$want_err" \
                "$got_exit" "$got_out" "$got_err"
        fi
    done <"$table"
done
rm -f /tmp/orvan-cli-err.$$
echo "cli: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
