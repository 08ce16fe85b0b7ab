#!/usr/bin/env bash
# Proves that scripts/check_layers.sh fails on each kind of include that would tie the core
# to a platform, and passes on what the core may include: a one-file core per case.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
check=$here/../../scripts/check_layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
# want<TAB>include line
cases=$(cat <<'TABLE'
0	#include "core/base/utf.h"
0	#include <string>
0	#include <unordered_map>
0	  #  include <cstdint>
1	#include <windows.h>
1	#include <Windows.h>
1	#include <sys/stat.h>
1	#include <expat.h>
1	#include "platform/native.h"
1	#include "ui/search_window.h"
1	#include "cli/cli_io.h"
1	#include "app/main.h"
1	#include "win32/wide_text.h"
1	#include "../platform/native.h"
1	#include "utf.h"
1	  #  include "platform/native.h"
TABLE
)
while IFS=$'\t' read -r want line; do
    rm -rf "$work/core" && mkdir -p "$work/core/base"
    printf '#pragma once\n#include <string>\n%s\n' "$line" >"$work/core/base/x.h"
    "$check" "$work/core" >/dev/null 2>&1
    got=$?
    if [ "$got" = "$want" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL [$line]: exit $got, want $want"
    fi
done <<<"$cases"

# A violation in a source file deep in the tree counts as well.
rm -rf "$work/core" && mkdir -p "$work/core/a/b"
printf '#include "core/a/x.h"\n' >"$work/core/a/x.h"
printf '#include "core/a/x.h"\n#include <windows.h>\n' >"$work/core/a/b/y.cpp"
out=$("$check" "$work/core" 2>/dev/null)
if [ $? -eq 1 ] && [ "$out" = "$work/core/a/b/y.cpp:2:#include <windows.h>" ]; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "FAIL nested source: [$out]"
fi

echo "check_layers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
