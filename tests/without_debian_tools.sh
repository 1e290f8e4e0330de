#!/usr/bin/env bash
# What a packager of another distribution does, here on Debian with Debian's own tools hidden
# (a PATH without dpkg*, apt* and lintian): scripts/install-deps, which lets the build go on, a
# plain CMake configure outside our presets, a build, and the tests meant for packagers, those
# without a label (ctest --label-exclude .), which must all pass. So a Debian-only assumption
# that creeps back fails here, not on a packager's machine.
#
# To stay cheap it configures a scratch folder, builds there only the targets whose build runs
# tools of its own (the icons and the manual page), and checks that its packagers' tests are the
# existing build's; then it builds the existing build and runs those tests in it.
#
# Usage: tests/without_debian_tools.sh <source directory> <build directory of the default preset>
# It builds and tests with as many jobs as CMAKE_BUILD_PARALLEL_LEVEL and CTEST_PARALLEL_LEVEL say,
# which make sets.
set -euo pipefail
# The make that runs this may hand down its job server, which is not there for these makes.
unset MAKEFLAGS MFLAGS MAKELEVEL

source=$(realpath "$1")
build=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A folder of links to every program on PATH but Debian's, the first of each name as PATH finds it.
mkdir "$work/bin"
IFS=: read -ra folders <<<"$PATH"
for folder in "${folders[@]}"; do
    [[ -d $folder ]] || continue
    for program in "$folder"/*; do
        name=${program##*/}
        case $name in
            dpkg* | apt* | lintian*) continue ;;
        esac
        if [[ -x $program && ! -d $program && ! -e $work/bin/$name ]]; then
            ln -s "$program" "$work/bin/$name"
        fi
    done
done
hidden=(env PATH="$work/bin")
for tool in dpkg dpkg-query dpkg-buildflags apt-get lintian; do
    "${hidden[@]}" sh -c "command -v $tool" >/dev/null && fail "$tool is still on the PATH meant to hide it"
done
echo "without-debian-tools: PATH holds no dpkg*, apt* or lintian"

# Without apt-get, scripts/install-deps lets the build go on, naming what it could not check as
# CMake knows it, with Debian's package beside.
"${hidden[@]}" "$source/scripts/install-deps" build run >/dev/null 2>"$work/deps.log" \
    || fail "scripts/install-deps stops the build where there is no apt-get: $(cat "$work/deps.log")"
grep -q 'CMake Qt6: Svg.*(Debian: qt6-svg-dev)' "$work/deps.log" \
    || fail "scripts/install-deps did not name Qt SVG for CMake: $(cat "$work/deps.log")"

# The configure a packager runs, with no preset: the Debian package and its reproducibility are
# left out.
"${hidden[@]}" cmake -S "$source" -B "$work/plain" >"$work/configure.log" 2>&1 \
    || fail "a plain configure needs a tool of Debian's: $(tail -n 20 "$work/configure.log")"
grep -qx 'QUILLORA_PACKAGE_TEST:BOOL=OFF' "$work/plain/CMakeCache.txt" \
    || fail "a plain configure turns the Debian package's test on"
"${hidden[@]}" cmake --build "$work/plain" --target png-icons manpage >"$work/build.log" 2>&1 \
    || fail "the icons and the manual page need a tool of Debian's: $(tail -n 20 "$work/build.log")"
echo "without-debian-tools: a plain configure, the icons and the manual page need no tool of Debian's"

# The packagers' tests are the same whatever the configure options.
packagers_tests() {
    local listing
    listing=$(ctest --test-dir "$1" --show-only --label-exclude .) || fail "ctest cannot list $1"
    sed -n 's/^ *Test *#[0-9]*: //p' <<<"$listing" | LC_ALL=C sort
}
plain_tests=$(packagers_tests "$work/plain")
build_tests=$(packagers_tests "$build")
[[ -n $plain_tests ]] || fail "a plain configure has no test without a label"
[[ $plain_tests == "$build_tests" ]] \
    || fail "the tests without a label differ between a plain configure and $build:"$'\n'"$(diff <(echo "$plain_tests") <(echo "$build_tests"))"

"${hidden[@]}" cmake --build "$build" >"$work/build.log" 2>&1 \
    || fail "building $build needs a tool of Debian's: $(tail -n 20 "$work/build.log")"
echo "without-debian-tools: ctest --test-dir $build --label-exclude ."
"${hidden[@]}" ctest --test-dir "$build" --label-exclude . --output-on-failure \
    --no-tests=error
