#!/usr/bin/env bash
# Every C++ file of the project is laid out as .clang-format says; prints what clang-format would
# change otherwise. Apply it with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
# Each clang-format version lays some lines out its own way: the layout is LLVM 14's.
#
# Usage: format_check.sh <source directory>
set -euo pipefail
cd "$1"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find app bench drawing runtime style tests tools -name '*.cpp' -o -name '*.h')
fi

formatter=
for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null 2>&1 &&
        [[ $("$candidate" --version) =~ version\ 14\. ]]; then
        formatter=$candidate
        break
    fi
done
if [[ -z $formatter ]]; then
    found=$(clang-format --version 2>&1) || found="no clang-format at all"
    echo "FAIL: no clang-format 14 on PATH (Debian: clang-format-14); found: $found" >&2
    exit 1
fi
"$formatter" --dry-run --Werror "${files[@]}"
