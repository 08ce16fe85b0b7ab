#!/usr/bin/env bash
# Runs orvan-cli against the case tables beside this script and compares exit code,
# standard output and standard error byte for byte. The same tables serve the native
# program and orvan-cli.exe under Wine, which proves that both give the same answers.
# Usage: run_cli_checks.sh COMMAND [ARG...]   (for example wine-run.sh orvan-cli.exe); the
# words are taken as given, so paths with spaces work.
# A table line: exit<TAB>stdout<TAB>stderr<TAB>arg<TAB>arg...; "\n" in the expected texts
# stands for a line break; lines starting with # are comments.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ $# -eq 0 ]; then
    echo "usage: run_cli_checks.sh COMMAND [ARG...]" >&2
    exit 2
fi
cli=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
        got_out=$("${cli[@]}" "${args[@]}" 2>"$work/err")
        got_exit=$?
        got_err=$(cat "$work/err")
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

# The details area of `query --details` for a drive, a folder, a file and a date. The
# fixture is made here, and its paths and the date's regional form depend on the platform,
# so these cases check the lines that must appear rather than whole outputs.
fixture=$work/fixture
mkdir -p "$fixture/sub"
printf hello >"$fixture/a.txt"
case "${cli[*]}" in
*.exe*) # Wine: Z: is the Linux root; the prefix's locale is English (United States)
    drive=Z:
    date_text="12/24/2026 6:00 PM"
    ;;
*)
    drive=C:
    date_text="2026-12-24 18:00"
    ;;
esac
dir="$drive${fixture//\//\\}"
# expect_lines NAME TEXT LINE...: query --details TEXT exits 0 and prints every LINE whole.
expect_lines() {
    local name=$1 text=$2
    shift 2
    local out missing=()
    out=$("${cli[@]}" query --catalog "$here/query_Catalog.xml" --now 2026-12-10T12:00:00 \
        --details -- "$text" 2>&1)
    local status=$?
    for want in "$@"; do
        grep -qxF -- "$want" <<<"$out" || missing+=("$want")
    done
    if [ "$status" -eq 0 ] && [ "${#missing[@]}" -eq 0 ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL details %s: exit %s, missing [%s] in\n%s\n' "$name" "$status" \
            "$(printf '%s|' "${missing[@]}")" "$out"
    fi
}
expect_lines drive "${drive:0:1}" "1	$drive\\	$drive\\" "--" "$drive\\"
expect_lines folder-listing "$dir\\" "2	a.txt	$dir\\a.txt" "1	sub	$dir\\sub" "--" \
    "File name: $dir\\a.txt" "File size: 5 bytes" "File extension: txt"
expect_lines folder "$dir\\s" "1	sub	$dir\\sub" "--" "$dir\\sub\\"
expect_lines file "$dir\\a.txt" "2	a.txt	$dir\\a.txt" "File size: 5 bytes"
expect_lines date "$date_text" "--" "Thursday" "Week 52"
expect_lines calculator "6*7" "3	Calculator	42" "--" "42" "000000000000002A HEX16" "42 bytes"

# The text table: every text on one line in ID order, a language file's texts over the
# English ones, its bad line reported, and the pseudo-language wrapping each text.
# expect_texts NAME WANT_STDERR ARGS... -- LINE...: texts ARGS exits 0, prints as many lines
# as the English table, every LINE whole, and exactly WANT_STDERR on standard error.
english_count=$("${cli[@]}" texts 2>/dev/null | wc -l)
expect_texts() {
    local name=$1 want_err=$2
    shift 2
    local args=()
    while [ "$1" != "--" ]; do
        args+=("$1")
        shift
    done
    shift
    local out err status missing=()
    out=$("${cli[@]}" texts "${args[@]}" 2>/tmp/orvan-cli-err.$$)
    status=$?
    err=$(cat /tmp/orvan-cli-err.$$)
    rm -f /tmp/orvan-cli-err.$$
    for want in "$@"; do
        grep -qxF -- "$want" <<<"$out" || missing+=("$want")
    done
    local count
    count=$(wc -l <<<"$out")
    if [ "$status" -eq 0 ] && [ "${#missing[@]}" -eq 0 ] && [ "$err" = "$want_err" ] &&
        [ "$count" -eq "$english_count" ] && [ "$english_count" -gt 400 ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL texts %s: exit %s, %s lines (English %s), missing [%s], err [%s]\n' \
            "$name" "$status" "$count" "$english_count" "$(printf '%s|' "${missing[@]}")" "$err"
    fi
}
expect_texts english "" -- "0	Error" "1	Ok" "8	Yes" "1186	German" \
    "9000054	Catalog has %s items.\\r\\rLast rebuild: %s"
sample=tests/cli/texts_Sample.lng
expect_texts translated "$sample:9: the text has 0 %s placeholder(s), the English text 2" \
    --language "$sample" -- "0	Fehler" "1	Ok" \
    "9000054	Der Katalog hat %s Einträge.\\r\\rZuletzt neu erstellt: %s" \
    "31	Cannot copy file \"%s\" to \"%s\"."
# A details label may hold no colon or line break: such a line is skipped and named, and the
# English label stays.
labels=tests/cli/languages/colon_label.lng
label_reason='a details label holds no ":" or line break: the details cut their lines into name and value at the first colon'
expect_texts details-labels "$labels:8: $label_reason
$labels:9: $label_reason" --language "$labels" -- "0	Erreur" "13011	File size" "13012	File time" \
    "13013	Taille du disque"
pseudo=$(mktemp)
"${cli[@]}" texts --pseudo >"$pseudo"
case "${cli[*]}" in
*.exe*) pseudo_arg=Z:${pseudo//\//\\} ;;
*) pseudo_arg=$pseudo ;;
esac
expect_texts pseudo "" --language "$pseudo_arg" -- "0	[[Error]]" "12010	[[%s days, %s]]" \
    "2000010	[[Type your question and press Enter.\\r\\rYou can enter file name, folder name, name of the program, mathematic expression, internet address or anything else.]]"
rm -f "$pseudo"

# rebuild saves the options and the catalog: before that it removes the temporary files that
# saves cut short by a crash left beside the options file, and nothing else.
saves=$work/saves
mkdir -p "$saves"
printf '[Paths]\r\nCount=0\r\n' >"$saves/Orvan.ini"
for name in orv1A2B.tmp orvk3Zq9x.tmp orvAbCdEf.tmp orvan.tmp notes.txt; do
    printf x >"$saves/$name"
done
touch -d '2 days ago' "$saves/orv1A2B.tmp" "$saves/orvk3Zq9x.tmp" "$saves/orvan.tmp" \
    "$saves/notes.txt"
case "${cli[*]}" in
*.exe*) saves_arg=Z:${saves//\//\\}\\Orvan.ini ;;
*) saves_arg=$saves/Orvan.ini ;;
esac
out=$("${cli[@]}" rebuild --options "$saves_arg" 2>/dev/null)
status=$?
left=$(cd "$saves" && LC_ALL=C ls | tr '\n' ' ')
if [ "$status" -eq 0 ] && [ "$out" = 0 ] &&
    [ "$left" = "Orvan.ini Orvan_Catalog.xml notes.txt orvAbCdEf.tmp orvan.tmp " ]; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    printf 'FAIL rebuild stale temporary files: exit %s, out [%s], left [%s]\n' "$status" "$out" \
        "$left"
fi

echo "cli: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
