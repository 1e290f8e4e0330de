#!/usr/bin/env bash
# The job count that make gives every compiler, test and script it runs: the number of CPUs, but
# no more than one job per 1.5 GB of free memory, and at least one. Each row sets nproc's count
# through OMP_NUM_THREADS, which nproc honours, and the free memory through a meminfo of its own,
# in kB as /proc/meminfo gives it.
#
# Usage: makefile_test.sh <source directory>
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
while read -r row cpus available expected; do
    printf 'MemTotal:       25165824 kB\nMemFree:        %s kB\nMemAvailable:   %s kB\n' \
        "$available" "$available" >"$work/meminfo"
    # What the recipe's shell has in JOBS, and what CTest reads.
    said=$(env -u JOBS -u MAKEFLAGS -u MFLAGS -u MAKELEVEL OMP_NUM_THREADS="$cpus" \
        make -s --no-print-directory -C "$source" MEMINFO="$work/meminfo" \
        --eval 'print-jobs: ; @echo "$$JOBS $(CTEST_PARALLEL_LEVEL)"' print-jobs)
    if [[ $said != "$expected $expected" ]]; then
        echo "FAIL: $row: $cpus CPUs and $available kB free give JOBS and CTest '$said'," \
             "not $expected"
        failed=1
    fi
done <<'ROWS'
memory-bound 16 4194304 2
cpu-bound 2 23068672 2
below-one-job 4 1048576 1
both-agree 8 12582912 8
ROWS
[[ $failed -eq 0 ]] || exit 1
echo "makefile: every job count held"
