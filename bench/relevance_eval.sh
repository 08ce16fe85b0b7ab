#!/usr/bin/env bash
# How often the first row is the entry meant, over a typical start menu and everyday typed
# texts: the name order, the relevance order with nothing learned, and the relevance order
# after one start of the meant entry for each text. With fzf installed (not needed by the
# tests), its ordering of the same display names is shown beside them.
#   bench/relevance_eval.sh [orvan-cli]
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${1:-$root/build/native/src/cli/orvan-cli}
data=$root/tests/data/relevance
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data/start_menu_Catalog.xml" "$work/Orvan_Catalog.xml"
: >"$work/Orvan.ini"
first() { "$cli" query --options "$work/Orvan.ini" --order "$1" -- "$2" | head -1 | cut -f2; }
# The display names, for fzf.
python3 - "$data/start_menu_Catalog.xml" >"$work/names" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
for item in re.findall(r"<item>(.*?)</item>", text, re.S):
    path = re.search(r"<path>(.*?)</path>", item).group(1)
    name = re.search(r"<name>(.*?)</name>", item)
    name = name.group(1) if name else path.split("\\")[-1]
    print(name.replace("&amp;", "&"))
PY
total=0 name=0 relevance=0 learned=0 fzf=0
misses=()
fzfmisses=()
while IFS=$'\t' read -r text meant; do
    total=$((total + 1))
    if [ "$(first name "$text")" = "$meant" ]; then name=$((name + 1)); fi
    got=$(first relevance "$text")
    if [ "$got" = "$meant" ]; then relevance=$((relevance + 1)); else misses+=("$text -> $got (meant $meant)"); fi
    if command -v fzf >/dev/null; then
        f=$(fzf --filter="$text" <"$work/names" | head -1)
        if [ "$f" = "$meant" ]; then fzf=$((fzf + 1)); else fzfmisses+=("$text -> $f"); fi
    fi
done <"$data/typed_texts.tsv"
# One start of the meant entry for each text, then every text again.
while IFS=$'\t' read -r text meant; do
    row=$("$cli" query --options "$work/Orvan.ini" --order relevance -- "$text" |
        awk -F'\t' -v m="$meant" '$2 == m { print NR - 1; exit }')
    if [ -n "$row" ]; then "$cli" query --options "$work/Orvan.ini" --order relevance --record "$row" -- "$text" >/dev/null; fi
done <"$data/typed_texts.tsv"
while IFS=$'\t' read -r text meant; do
    if [ "$(first relevance "$text")" = "$meant" ]; then learned=$((learned + 1)); fi
done <"$data/typed_texts.tsv"
echo "texts: $total"
echo "name order: $name"
echo "relevance, nothing learned: $relevance"
echo "relevance, after one start each: $learned"
if command -v fzf >/dev/null; then echo "fzf: $fzf"; fi
printf 'relevance misses: %s\n' "${misses[@]}"
if [ "${#fzfmisses[@]}" -gt 0 ]; then printf 'fzf misses: %s\n' "${fzfmisses[@]}"; fi
