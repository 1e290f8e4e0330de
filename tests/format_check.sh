#!/usr/bin/env bash
# Every C++ file of the project is laid out as .clang-format says; prints what clang-format would
# change otherwise. Apply it with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
#
# Usage: format_check.sh <source directory>
set -euo pipefail
cd "$1"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find app bench drawing runtime style tests tools -name '*.cpp' -o -name '*.h')
fi
clang-format --dry-run --Werror "${files[@]}"
