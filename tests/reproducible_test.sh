#!/usr/bin/env bash
# Builds the Debian package a second time, from the source archive `make dist` writes, unpacked
# into another and longer path, with another umask, time zone and locale, at a later time than the
# packaging test built the first from the source tree (UTC, the C locale, umask 0022), and checks
# that the two are the same bytes. On a difference it prints diffoscope's account of it.
#
# Usage: reproducible_test.sh <source directory> <folder holding the packaging test's package>
set -euo pipefail
# The make that runs the tests may hand down its job server, which is not there for these makes.
unset MAKEFLAGS MFLAGS MAKELEVEL

source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
first=$(ls "$2"/quillora_*.deb) || fail "the packaging test left no package in $2"

# make dist archives the last commit; the first package was built from the files as they are.
if ! git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
    echo "SKIP: $source is no git clone, so make dist has nothing to archive"
    exit 77
fi
changes=$(git -C "$source" status --porcelain)
if [[ -n $changes ]]; then
    echo "SKIP: make dist archives only what is committed, and the source tree has changes:"
    echo "$changes"
    exit 77
fi

start=$SECONDS
make -C "$source" --no-print-directory dist DISTDIR="$work" >/dev/null
archive=$(ls "$work"/quillora-*.tar.xz) || fail "make dist wrote no quillora-<version>.tar.xz"
# The archive itself is the same bytes again in other settings, even where git's own would give
# its members other modes or line ends.
printf '[tar]\n\tumask = user\n[core]\n\tautocrlf = true\n' >"$work/gitconfig"
mkdir "$work/again"
(umask 0077 && GIT_CONFIG_GLOBAL=$work/gitconfig TZ=Asia/Tokyo \
    make -C "$source" --no-print-directory dist DISTDIR="$work/again") >/dev/null
cmp "$archive" "$work/again/${archive##*/}" || fail "make dist wrote two different archives"

unpacked=$work/a/longer/path/for/the/second/build
mkdir -p "$unpacked"
tar -xJf "$archive" -C "$unpacked"
cd "$unpacked"/quillora-*/
[[ ! -e build-package && ! -e build && ! -e .git ]] || fail "the source archive holds build output or .git"

(umask 0002 && export DEBFULLNAME='Quillora Test' DEBEMAIL=test@example.org &&
    TZ=Asia/Tokyo LC_ALL=C.UTF-8 make --no-print-directory package) >"$work/package.log" 2>&1 \
    || fail "make package from the source archive failed: $(tail -n 20 "$work/package.log")"
second=$(ls "$PWD"/build-package/quillora_*.deb) || fail "make package made no package from the archive"

sums=$(sha256sum "$first" "$second")
echo "$sums"
if [[ $(cut -d ' ' -f 1 <<<"$sums" | uniq | wc -l) -ne 1 ]]; then
    diffoscope --no-progress --text - "$first" "$second" | head -n 200 || true
    fail "two builds of the same source gave different packages"
fi
echo "reproducible: the package from the source archive is the same bytes ($((SECONDS - start)) s)"
