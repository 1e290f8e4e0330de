#!/usr/bin/env bash
# Installs the program into a scratch prefix and builds its Debian package, then checks what a
# desktop expects: the files in their places, a valid launcher and metainfo, and the package's
# fields and contents.
#
# Usage: packaging_test.sh <build directory>
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
id=org.ardelvan.Quillora

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for file in bin/quillora share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
            share/metainfo/$id.metainfo.xml; do
    [[ -e $work/prefix/$file ]] || fail "cmake --install put no $file"
done
for size in 16 24 32 48 64 128 256; do
    file=share/icons/hicolor/${size}x${size}/apps/$id.png
    [[ -e $work/prefix/$file ]] || fail "cmake --install put no $file"
done
[[ -x $work/prefix/bin/quillora ]] || fail "bin/quillora is not executable"
desktop-file-validate "$work/prefix/share/applications/$id.desktop" || fail "the launcher is not valid"
appstreamcli validate --no-net "$work/prefix/share/metainfo/$id.metainfo.xml" >/dev/null \
    || fail "the metainfo is not valid"
grep -q 'version="1.00"' "$work/prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo lacks version 1.00"

# Given the address where the screenshot is published, the metainfo lists it and stays valid.
source=$(dirname "$0")/../packaging
url=https://example.org/quillora/drawing.png
cmake -DTEMPLATE="$source/$id.metainfo.xml.in" -DOUTPUT="$work/shot.metainfo.xml" -DSCREENSHOT_URL=$url \
      -P "$source/metainfo.cmake"
grep -q "<image type=\"source\">$url</image>" "$work/shot.metainfo.xml" || fail "metainfo lacks the screenshot"
appstreamcli validate --no-net "$work/shot.metainfo.xml" >/dev/null || fail "the metainfo with a screenshot is not valid"

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/quillora_1.00_*.deb) || fail "cpack made no quillora_1.00 package"
[[ $(dpkg-deb -f "$deb" Package) == quillora ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == 1.00 ]] || fail "package version"
# Read whole fields first: grep -q would stop reading early and fail the pipeline.
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* ]] || fail "no dependency on the Qt 6 widgets runtime: $depends"
[[ -n $(dpkg-deb -f "$deb" Description) ]] || fail "no description"
dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/quillora usr/share/applications/$id.desktop \
            usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/48x48/apps/$id.png \
            usr/share/metainfo/$id.metainfo.xml; do
    [[ -e $work/root/$file ]] || fail "the package holds no $file"
done
echo "packaging: every check held"
