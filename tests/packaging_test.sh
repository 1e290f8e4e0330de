#!/usr/bin/env bash
# Installs the program into a scratch prefix as `make install` does and checks what a desktop
# expects: the files in their places, a valid launcher that starts the installed program by its
# path and names its window's class (checked on a real X server), valid metainfo with the release
# notes of NEWS, a manual page man reads without a warning; then that `make uninstall` takes
# away all of it and nothing else.
# With "package", it also builds the Debian source and binary packages as `make package` does, into
# <package folder> (never the user's build-package/), checks their fields and contents and that
# lintian leaves no error, warning or information, and leaves them there.
#
# Usage: packaging_test.sh <build directory> <source directory> package|install-only [<package folder>]
set -euo pipefail

build=$1
source=$2
mode=$3
package_dir=${4:-}
source "$(dirname "$0")/xserver.sh"
id=org.ardelvan.Quillora

# Reads a key of a launcher; grep -m would stop early and fail the pipeline, so sed.
launcher_key() { sed -n "s/^$2=//p" "$1"; }

# AppStream from 1.0 on warns of a metainfo without a home page, which Quillora lists only once
# the build is given its address; the check is made an information where the address is not given.
# appstreamcli's version is read in the C locale, since its wording is translated.
validate_metainfo() {
    local file=$1 overrides=()
    if ! grep -q '<url type="homepage">' "$file" \
        && [[ $(LC_ALL=C LANGUAGE= appstreamcli --version) =~ version:\ ([0-9]+)\. && ${BASH_REMATCH[1]} -ge 1 ]]; then
        overrides=(--override=url-homepage-missing=info)
    fi
    appstreamcli validate --no-net "${overrides[@]}" "$file" >"$work/appstream.log" \
        || fail "the metainfo $file is not valid: $(cat "$work/appstream.log")"
}

# The page as man shows it; any warning from man or groff fails.
check_manpage() {
    local warnings
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$1" 2>&1 >"$work/man.txt") || fail "man cannot read $1"
    [[ -z $warnings ]] || fail "man warns about $1: $warnings"
    for section in NAME SYNOPSIS DESCRIPTION DRAWING KEYBOARD MENU LIMITS OPTIONS; do
        grep -q "^$section" "$work/man.txt" || fail "the manual page has no $section section"
    done
    # Justified lines take extra spaces between words, so phrases are looked for with single ones.
    for text in 'Alt+R' 'Alt+E' 32768 '-platform' 'no options of its own'; do
        tr -s ' ' <"$work/man.txt" | grep -qF -- "$text" \
            || fail "the manual page does not mention $text"
    done
}

# Every path under a folder, or a word that says it is not there.
list_tree() {
    if [[ -e $1 ]]; then
        (cd "$1" && find . | LC_ALL=C sort)
    else
        echo "(none)"
    fi
}

# make install, then make uninstall: the prefix is as it was before, with every folder the
# installation made gone, and everything it held before kept, an empty folder as well. The record
# of the installation is kept in the prefix; make uninstall needs nothing else, so it also runs
# from a source tree without a build folder, as after make clean or in a fresh clone. Installing
# more than once adds to the record.
check_install_round_trip() {
    local prefix=$1 tree=${2:-} installs=${3:-1} before after
    before=$(list_tree "$prefix")
    for ((install = 0; install < installs; ++install)); do
        "$source/scripts/install" "$build" "$prefix" >/dev/null
    done
    [[ -x $prefix/bin/quillora ]] || fail "scripts/install put no bin/quillora into $prefix"
    if [[ -n $tree ]]; then
        make -s -C "$tree" uninstall PREFIX="$prefix" >"$work/uninstall.log" 2>&1 \
            || fail "make uninstall without a build folder failed: $(cat "$work/uninstall.log")"
    else
        "$source/scripts/uninstall" "$prefix" >"$work/uninstall.log" \
            || fail "scripts/uninstall failed: $(cat "$work/uninstall.log")"
    fi
    after=$(list_tree "$prefix")
    [[ $after == "$before" ]] \
        || fail "uninstalling from $prefix did not leave it as it was:"$'\n'"$(diff <(echo "$before") <(echo "$after"))"
}

# A source tree without a build folder: the Makefile and the scripts it runs.
mkdir -p "$work/cleaned"
cp -r "$source/Makefile" "$source/CMakeLists.txt" "$source/scripts" "$work/cleaned/"
check_install_round_trip "$work/after clean" "$work/cleaned"
# A prefix whose parents do not exist either, installed into twice: all of them go again.
check_install_round_trip "$work/new/a prefix" "" 2
[[ ! -e $work/new ]] || fail "make uninstall left $work/new, which make install made"
# A prefix that holds files of other programs, and an empty folder where ours go.
mkdir -p "$work/shared/share/applications" "$work/shared/share/metainfo" "$work/shared/bin"
echo '[Desktop Entry]' >"$work/shared/share/applications/other.desktop"
echo 'other' >"$work/shared/bin/other"
check_install_round_trip "$work/shared"
"$source/scripts/uninstall" "$work/shared" 2>"$work/uninstall.log" \
    && fail "scripts/uninstall succeeded with no record of an installation"
grep -q 'nothing was installed' "$work/uninstall.log" || fail "scripts/uninstall did not say nothing was installed"

# Installed into a prefix with a space, whose bin/ is not on PATH.
prefix="$work/a prefix"
"$source/scripts/install" "$build" "$prefix" "$work/installed.txt" >/dev/null
for file in bin/quillora share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
            share/metainfo/$id.metainfo.xml share/man/man1/quillora.1.gz share/doc/quillora/copyright; do
    [[ -e $prefix/$file ]] || fail "cmake --install put no $file"
done
for size in 16 24 32 48 64 128 256; do
    file=share/icons/hicolor/${size}x${size}/apps/$id.png
    [[ -e $prefix/$file ]] || fail "cmake --install put no $file"
done
[[ -x $prefix/bin/quillora ]] || fail "bin/quillora is not executable"
launcher=$prefix/share/applications/$id.desktop
desktop-file-validate "$launcher" || fail "the launcher is not valid"
validate_metainfo "$prefix/share/metainfo/$id.metainfo.xml"
# The release, its date and its notes, as NEWS gives them.
metainfo=$(<"$prefix/share/metainfo/$id.metainfo.xml")
[[ $metainfo =~ \<release\ type=\"stable\"\ version=\"1.00\"\ date=\"2026-12-08[T\"] ]] \
    || fail "metainfo lacks release 1.00 of 2026-12-08"
[[ $metainfo == *'<p>The first release of Quillora, a small drawing program for the Linux desktop.</p>'* ]] \
    || fail "metainfo lacks the notes of release 1.00"
[[ $metainfo == *'<li>A finger on a touch screen or a pen on a tablet draws as the mouse does.</li>'* ]] \
    || fail "metainfo lacks the items of release 1.00"
grep -q '<project_license>MIT</project_license>' "$prefix/share/metainfo/$id.metainfo.xml" \
    || fail "metainfo names no MIT licence"
# appstreamcli writes the release notes; AppStream 0.16 dropped what it did not know.
grep -q '<developer id="org.ardelvan">' "$prefix/share/metainfo/$id.metainfo.xml" \
    || fail "metainfo names no developer"
check_manpage "$prefix/share/man/man1/quillora.1.gz"

# The Exec value, unescaped as the desktop entry format says (\\ first, then the quoting, which
# follows the shell's double quotes), is the installed program.
exec_line=$(launcher_key "$launcher" Exec)
exec_line=${exec_line//\\\\/\\}
eval "command=($exec_line)"
[[ ${#command[@]} -eq 1 && ${command[0]} == "$prefix/bin/quillora" ]] \
    || fail "the launcher's Exec '$exec_line' does not name $prefix/bin/quillora"

# Given the addresses where the screenshot and the home page are published, the metainfo lists
# them and stays valid.
url=https://example.org/quillora/drawing.png
home=https://example.org/quillora/
cmake -DTEMPLATE="$source/packaging/$id.metainfo.xml.in" -DOUTPUT="$work/shot.metainfo.xml" \
      -DSCREENSHOT_URL=$url -DHOMEPAGE_URL=$home -DNEWS="$source/NEWS" -DVERSION=1.00 \
      -P "$source/packaging/metainfo.cmake"
grep -q "<image type=\"source\">$url</image>" "$work/shot.metainfo.xml" || fail "metainfo lacks the screenshot"
grep -q "<url type=\"homepage\">$home</url>" "$work/shot.metainfo.xml" || fail "metainfo lacks the home page"
validate_metainfo "$work/shot.metainfo.xml"

# The launcher started on a real X server, as a desktop would, with a PATH that lacks the prefix:
# its window's class is the launcher's StartupWMClass.
start_xserver
QT_QPA_PLATFORM=xcb PATH=/usr/bin:/bin "${command[@]}" 2>"$work/quillora.log" &
app_pid=$!
window=$(timeout 10 xdotool search --sync --name '^Quillora by Ardelvan$' | head -n 1) \
    || fail "the launcher's command showed no window"
wm_class=$(xprop -id "$window" WM_CLASS)
# WM_CLASS(STRING) = "instance", "class"
[[ $wm_class =~ \"([^\"]*)\",\ \"([^\"]*)\"$ ]] || fail "the window has no WM_CLASS: $wm_class"
window_class=${BASH_REMATCH[2]}
[[ $(launcher_key "$launcher" StartupWMClass) == "$window_class" ]] \
    || fail "the launcher's StartupWMClass is not the window's class $window_class"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=

# A version that NEWS has no entry for stops the configuration, naming the file.
printf 'Version 0.99\n~~~~~~~~~~~~\nReleased: 2026-01-01\n\nNotes:\n * Before.\n' >"$work/NEWS"
cmake -DTEMPLATE="$source/packaging/$id.metainfo.xml.in" -DOUTPUT="$work/old.metainfo.xml" \
      -DNEWS="$work/NEWS" -DVERSION=1.00 -P "$source/packaging/metainfo.cmake" \
      >"$work/news.log" 2>&1 && fail "NEWS without an entry for 1.00 was taken"
tr -s ' \n' ' ' <"$work/news.log" | grep -qF "$work/NEWS has no entry for version 1.00" \
    || fail "a missing entry was not reported naming the file: $(cat "$work/news.log")"

if [[ $mode != package ]]; then
    echo "packaging: every check of the installation held; the package is checked in the default build"
    exit 0
fi

# The packages, built as `make package` builds them, in the UTC time zone, the C locale and umask
# 0022; the reproducibility test builds them again in other settings and compares. They are left in
# <package folder> for that test.
cd "$source"
missing=$(env -u DEBFULLNAME DEBEMAIL=test@example.org scripts/build-package "$package_dir" 2>&1) \
    && fail "build-package built a package without DEBFULLNAME"
[[ $missing == *"set DEBFULLNAME, for example"* ]] || fail "build-package did not say to set DEBFULLNAME: $missing"

# The build dependencies are those scripts/install-deps installs for building, less the compiler
# and make, which every Debian build has (build-essential): the first of each set of alternatives.
build_depends=$(perl -MDpkg::Control::Info -MDpkg::Deps -e '
    my $source = Dpkg::Control::Info->new(shift)->get_source;
    print "$_\n" for deps_parse($source->{"Build-Depends"}, build_dep => 1, reduce_profiles => 0)->get_deps' \
    packaging/debian/control | sed 's/[ (|].*//' | grep -vx debhelper-compat | LC_ALL=C sort) \
    || fail "perl's Dpkg modules cannot read the Build-Depends of packaging/debian/control"
build_group=$(scripts/install-deps --list build | grep -vx -e make -e g++ | LC_ALL=C sort)
[[ $build_depends == "$build_group" ]] \
    || fail "packaging/debian/control's Build-Depends and scripts/install-deps build disagree:" \
            "$(diff <(echo "$build_group") <(echo "$build_depends") | sed -n 's/^</ install-deps:/p; s/^>/ control:/p')"

# A release that NEWS tells and the changelog does not stops the build, before anything is built.
mkdir -p "$work/news-tree/packaging"
cp -R CMakeLists.txt scripts "$work/news-tree/"
cp -R packaging/debian "$work/news-tree/packaging/"
{ printf 'Version 1.01\n~~~~~~~~~~~~\nReleased: 2027-01-04\n\nNotes:\n * Later.\n\n'; cat NEWS; } >"$work/news-tree/NEWS"
DEBFULLNAME='Quillora Test' DEBEMAIL=test@example.org "$work/news-tree/scripts/build-package" "$work/news-out" \
    >"$work/news.log" 2>&1 && fail "build-package built a package whose changelog lacks a release of NEWS"
grep -qF '  NEWS: 1.01 2027-01-04' "$work/news.log" \
    || fail "build-package did not name the release the changelog lacks: $(cat "$work/news.log")"
[[ ! -e $work/news-out ]] || fail "build-package made $work/news-out before finding the changelog wrong"

maintainer='Quillora Test <test@example.org>'
(umask 0022 && DEBFULLNAME='Quillora Test' DEBEMAIL=test@example.org TZ=UTC LC_ALL=C \
    scripts/build-package "$package_dir") >"$work/build-package.log" 2>&1 \
    || fail "make package failed: $(tail -n 20 "$work/build-package.log")"
deb=$(ls "$package_dir"/quillora_1.00-1_*.deb) || fail "make package made no quillora_1.00-1 package"
changes=$(ls "$package_dir"/quillora_1.00-1_*.changes) || fail "make package made no .changes"
# The .changes lists the source package, its orig tarball and the binary packages.
listed=$(sed -n '/^Files:/,/^[^ ]/s/^ [0-9a-f]\{32\} .* //p' "$changes")
for file in quillora_1.00.orig.tar.xz quillora_1.00-1.dsc quillora_1.00-1.debian.tar.xz "${deb##*/}"; do
    [[ $'\n'"$listed"$'\n' == *$'\n'"$file"$'\n'* ]] || fail "the .changes does not list $file: $listed"
    [[ -e $package_dir/$file ]] || fail "make package made no $file"
done
# dh_auto_test ran the tests without a label.
grep -qE '^100% tests passed, 0 tests failed out of [1-9]' "$work/build-package.log" \
    || fail "dh_auto_test ran no tests"

# Read whole fields first: grep -q would stop reading early and fail the pipeline.
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == quillora ]] || fail "package name"
[[ $(field Version) == 1.00-1 ]] || fail "package version"
[[ $(field Maintainer) == "$maintainer" ]] || fail "the Maintainer is not $maintainer: $(field Maintainer)"
[[ -n $(field Description) ]] || fail "no description"
depends=$(field Depends)
# dpkg-shlibdeps gives the versions; a dependency written by hand would have none.
[[ $depends =~ libqt6widgets6\ \(\>=\ [0-9.]+\) ]] || fail "no computed dependency on the Qt 6 widgets runtime: $depends"
[[ $depends =~ libc6\ \(\>=\ [0-9.]+\) ]] || fail "no computed dependency on the C library: $depends"
recommends=$(field Recommends)
for package in qt6-wayland fonts-liberation2; do
    [[ ", $recommends," == *", $package,"* ]] || fail "the package does not recommend $package: $recommends"
done

dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/quillora usr/share/applications/$id.desktop usr/share/icons/hicolor/scalable/apps/$id.svg \
            usr/share/icons/hicolor/48x48/apps/$id.png usr/share/metainfo/$id.metainfo.xml \
            usr/share/man/man1/quillora.1.gz usr/share/doc/quillora/copyright usr/share/doc/quillora/changelog.Debian.gz; do
    [[ -e $work/root/$file ]] || fail "the package holds no $file"
done
check_manpage "$work/root/usr/share/man/man1/quillora.1.gz"
grep -q '<developer id="org.ardelvan">' "$work/root/usr/share/metainfo/$id.metainfo.xml" \
    || fail "the packaged metainfo names no developer"

packaged=$work/root/usr/share/applications/$id.desktop
desktop-file-validate "$packaged" || fail "the packaged launcher is not valid"
[[ $(launcher_key "$packaged" Exec) == /usr/bin/quillora ]] || fail "the packaged launcher does not start /usr/bin/quillora"
[[ $(launcher_key "$packaged" StartupWMClass) == "$window_class" ]] \
    || fail "the packaged launcher's StartupWMClass is not the window's class $window_class"

# The copyright file: machine-readable, the MIT (Expat) licence with the text of LICENSE.
copyright=$work/root/usr/share/doc/quillora/copyright
[[ $(head -n 1 "$copyright") == "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]] \
    || fail "the copyright file is not machine-readable"
grep -qx 'Copyright: 2026 Ardelvan' "$copyright" || fail "the copyright file names no 2026 Ardelvan"
grep -qx 'License: Expat' "$copyright" || fail "the copyright file names no Expat (MIT) licence"
# The text is the paragraph that starts with "License: Expat".
awk 'on && /^$/ { exit } on { print } previous == "" && /^License: Expat$/ { on = 1 } { previous = $0 }' \
    "$copyright" | sed 's/^ //; s/^\.$//' >"$work/licence"
sed '1,/^Copyright/d' "$source/LICENSE" | sed '/./,$!d' >"$work/expected-licence"
diff -u "$work/expected-licence" "$work/licence" || fail "the copyright file's licence text is not LICENSE's"

# The changelog is debian/changelog as committed, signed by the packaging on the release's date.
changelog=$(zcat "$work/root/usr/share/doc/quillora/changelog.Debian.gz")
[[ $changelog == "$(cat packaging/debian/changelog)" ]] \
    || fail "the package's changelog is not packaging/debian/changelog: $changelog"
[[ $changelog == "quillora (1.00-1) unstable; urgency=medium"* ]] || fail "the changelog does not start with version 1.00-1: $changelog"
# Every file in the package has the time of the release, midnight UTC on its day.
release_time=$(date --utc --date 2026-12-08 '+%Y-%m-%d %H:%M')
contents=$(TZ=UTC dpkg-deb --contents "$deb") || fail "dpkg-deb cannot list the package's files"
if other_times=$(grep -vF " $release_time ./" <<<"$contents"); then
    fail "files in the package with another time than $release_time: $(head -n 5 <<<"$other_times")"
fi

# lintian, with every check it has, on the source and binary packages.
"$source/scripts/check-package" "$changes" || fail "lintian finds something to say about the packages"
echo "packaging: every check held"
