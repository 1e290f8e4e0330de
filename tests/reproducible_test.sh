#!/usr/bin/env bash
# Builds the Debian package a second time with Debian's reprotest, from the source archive
# `make dist` writes, in every variation of the build's setting that reprotest can make on this
# machine, and checks that it is the same bytes as the package the packaging test built from the
# source tree (UTC, the C locale, umask 0022, as root, on every CPU), which reprotest takes as its
# control build. On a difference reprotest prints diffoscope's account of it.
#
# The variations, where the machine allows them:
#   build_path    a folder of reprotest's own, not the source tree
#   time          a clock at 2041-06-15, years after the release (faketime)
#   timezone      another time zone (GMT-14)
#   locales       another locale (et_EE.UTF-8, with LANGUAGE), compiled here with localedef
#   umask         0002
#   home          HOME=/nonexistent/second-build
#   kernel        another kernel version (setarch --uname-2.6)
#   num_cpus      one CPU, where the control build had more
#   aslr, environment, exec_path: address randomisation, an extra variable, an extra PATH entry
#   user_group    the build as nobody:nogroup instead of root (sudo), when run as root
#   domain_host   another host and domain name (unshare --uts), where the sandbox allows it
#   fileordering  another order of every folder's entries (disorderfs), where the building user
#                 may use FUSE
# Those that cannot run here are printed with the reason.
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
for tool in reprotest faketime diffoscope git xz setarch taskset localedef; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (scripts/install-deps test)"
done

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

mkdir "$work/unpacked"
tar -xJf "$archive" -C "$work/unpacked"
tree=$(echo "$work"/unpacked/quillora-*/)
[[ ! -e $tree/build-package && ! -e $tree/build && ! -e $tree/.git ]] \
    || fail "the source archive holds build output or .git"

# The control build is the packaging test's, in the place where reprotest keeps a build's results.
deb=${first##*/}
mkdir -p "$work/control/source-root/build-package"
cp "$first" "$work/control/source-root/build-package/"

variations=(-all build_path time "time.faketimes=2041-06-15 12:00:00" timezone
            locales locales.locale=et_EE.UTF-8 umask home kernel aslr environment exec_path)
not_run=()
build_user=$(id -un)
build_cpus=$(nproc)
build_host=$(uname -n)

# A system that has not generated the locale would fall back to C without a word: the locale is
# compiled into a folder of the test's own, which every user may read.
mkdir "$work/locales"
localedef -i et_EE -f UTF-8 "$work/locales/et_EE.UTF-8" >"$work/localedef.log" 2>&1 \
    || fail "localedef cannot compile et_EE.UTF-8: $(cat "$work/localedef.log")"
export LOCPATH=$work/locales
chmod 0755 "$work"

# The control build used every CPU: reprotest runs on one, which a machine of one CPU cannot vary.
control_cpus=$(nproc)
cpus=(taskset -c 0)
if [[ $control_cpus -gt 1 ]]; then
    variations+=(num_cpus)
    build_cpus=1
else
    not_run+=("num_cpus: this machine has one CPU, on which the control build ran too")
fi

# reprotest changes user through sudo, which only root may do without a password. Debian 12's
# reprotest (0.7.23) hands sudo "-h localhost", which its sudo (1.9.13) refuses outside
# "sudo -l"; a sudo ahead on PATH passes the rest of the command on.
if [[ $(id -u) -eq 0 ]] && command -v sudo >/dev/null 2>&1 && id nobody >/dev/null 2>&1; then
    real_sudo=$(command -v sudo)
    mkdir "$work/bin"
    cat >"$work/bin/sudo" <<EOF
#!/bin/sh
# reprotest's sudo -h localhost, without the -h localhost.
if [ "\$1" = -h ] && [ "\$2" = localhost ]; then shift 2; fi
exec $real_sudo "\$@"
EOF
    chmod +x "$work/bin/sudo"
    export PATH=$work/bin:$PATH
    group=$(id -gn nobody)
    variations+=(user_group "user_group.available+=nobody:$group")
    build_user=nobody
else
    not_run+=("user_group: the build changes user through sudo, which needs root without a password; this runs as $(id -un)$(command -v sudo >/dev/null 2>&1 || echo ', without sudo')")
fi

# Another host and domain name, in a UTS namespace of the build's own.
seen_user=$build_user
if [[ $build_user != "$(id -un)" ]] && unshare --uts true 2>/dev/null; then
    variations+=(domain_host domain_host.use_sudo=1)
    build_host=reprotest-capture-hostname
elif [[ $build_user == "$(id -un)" ]] && unshare -r --uts true 2>/dev/null; then
    # Without root, reprotest makes the namespace a user namespace too, whose root the build is.
    variations+=(domain_host)
    build_host=reprotest-capture-hostname
    seen_user=root
else
    not_run+=("domain_host: this sandbox does not let unshare make a UTS namespace")
fi

# Another order of every folder's entries, through a FUSE file system that the building user
# mounts.
if ! command -v disorderfs >/dev/null 2>&1; then
    fail "disorderfs is not installed (scripts/install-deps test)"
elif [[ ! -c /dev/fuse ]]; then
    not_run+=("fileordering: this machine has no /dev/fuse for disorderfs")
elif ! if [[ $build_user == "$(id -un)" ]]; then [[ -r /dev/fuse && -w /dev/fuse ]];
       else su -s /bin/sh -c 'test -r /dev/fuse && test -w /dev/fuse' "$build_user"; fi; then
    not_run+=("fileordering: $build_user, who builds, may not open /dev/fuse ($(stat -c '%A %U' /dev/fuse)), and reprotest mounts disorderfs as the user who builds")
else
    variations+=(fileordering)
fi

vary=$(IFS=,; echo "${variations[*]}")
# The package, then who built it where and when, and its sum: reprotest keeps the package only
# when it differs from the control.
build_command="DEBFULLNAME='Quillora Test' DEBEMAIL=test@example.org make --no-print-directory package"
build_command+=' && echo "built by $(id -un) on $(uname -n), Linux $(uname -r), $(nproc) CPU, in $(date +%Y)"'
build_command+=" && sha256sum build-package/quillora_*.deb | sed 's/^/built: /'"
command=(reprotest --verbosity 1 --store-dir "$work/store"
         --control-build "$work/control" --variations "$vary"
         --source-root "$tree"
         "$build_command"
         "build-package/quillora_*.deb")
echo "reproducible: LOCPATH=$LOCPATH ${cpus[*]} ${command[*]@Q}"
for reason in "${not_run[@]}"; do
    echo "reproducible: not varied here: $reason"
done

status=0
"${cpus[@]}" "${command[@]}" >"$work/reprotest.log" 2>&1 || status=$?
# What reprotest says it varied. Its warning that the control build runs on one CPU is about a
# control build of its own, which it does not make here.
grep -E '^(INFO:reprotest\.build:[A-Z_]+ variation|WARNING)' "$work/reprotest.log" \
    | grep -v 'control build runs on 1 CPU' | sed 's/^/reprotest: /'

first_sum=$(sha256sum "$first" | cut -d ' ' -f 1)
second_sum=$(sed -n 's/^built: \([0-9a-f]\{64\}\)  build-package\/.*/\1/p' "$work/reprotest.log")
if [[ -z $second_sum ]]; then
    tail -n 40 "$work/reprotest.log"
    fail "reprotest built no package from the source archive (status $status)"
fi
# The user, the host, the kernel, the CPUs and the clock as the build saw them.
seen=$(grep '^built by ' "$work/reprotest.log") || fail "the build did not say who built it"
echo "reproducible: $seen"
[[ $seen == "built by $seen_user on $build_host, Linux 2.6."*", $build_cpus CPU, in 2041" ]] \
    || fail "the build did not run as $seen_user on $build_host, Linux 2.6, $build_cpus CPU, in 2041"
echo "$first_sum  the packaging test's package, from the source tree"
echo "$second_sum  reprotest's package, from the source archive"
if [[ $status -ne 0 || $first_sum != "$second_sum" ]]; then
    find "$work/store" -name '*.diffoscope.out' -exec head -n 200 {} +
    fail "two builds of the same source gave different packages (reprotest status $status)"
fi
echo "reproducible: the package reprotest built from the source archive is the same bytes ($((SECONDS - start)) s)"
