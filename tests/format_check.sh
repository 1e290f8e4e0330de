#!/usr/bin/env bash
# Every C++ file of the project is laid out as .clang-format says; prints what clang-format would
# change otherwise. Apply it with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
# .clang-format holds to what clang-format 14 and later lay out alike.
#
# Usage: format_check.sh <source directory>
set -euo pipefail
cd "$1"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find app bench drawing runtime style tests tools -name '*.cpp' -o -name '*.h')
fi

version=$(clang-format --version 2>&1) || {
    echo "FAIL: clang-format is not installed (Debian: clang-format)" >&2
    exit 1
}
if [[ ! $version =~ version\ ([0-9]+)\. ]] || ((BASH_REMATCH[1] < 14)); then
    echo "FAIL: the layout is clang-format 14's or a later one's; found: $version" >&2
    exit 1
fi
echo "format: $version"
clang-format --dry-run --Werror "${files[@]}"
