# Thin wrapper over the CMake presets: `make run` and `make test` are all a new user needs.
.PHONY: all deps configure build run test test-sanitize test-releases soak coverage bench bench-full lint install uninstall package dist clean

all: build

# The groups of Debian packages each target installs (see scripts/install-deps): building and
# running for every target, and what a target does beyond that. A target's groups hold for the
# targets it depends on as well.
DEPS = build run
test test-sanitize: DEPS += test
coverage: DEPS += test coverage
bench bench-full: DEPS += bench
lint: DEPS += test bench lint
package: DEPS = build package
test-releases: DEPS = releases
dist: DEPS = dist

# One job count for every compiler, test, analyser and package build that make starts: the number
# of CPUs, but no more than one per 1.5 GB of free memory, which MEMINFO gives in kB. A compiler
# takes up to half a gigabyte, and a test run beside it starts X servers, a compositor and the
# program. make JOBS=1 sets it. CMake and CTest read it from the two variables below; the scripts
# that make runs, from JOBS.
MEMINFO ?= /proc/meminfo
ifndef JOBS
JOBS := $(or $(shell awk -v cpus="$$(nproc)" '/^MemAvailable:/ { jobs = int($$2 / 1572864); \
	print (jobs < 1 ? 1 : jobs > cpus ? cpus : jobs) }' $(MEMINFO)),1)
endif
export JOBS
export CMAKE_BUILD_PARALLEL_LEVEL := $(JOBS)
export CTEST_PARALLEL_LEVEL := $(JOBS)

deps:
	scripts/install-deps $(DEPS)

configure: deps
	cmake --preset default

build: configure
	cmake --build --preset default

run: build
	build/app/quillora

# Every test in the normal build, then every test again with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer, where any report fails the run. CTEST_ARGS goes to
# both ctest runs: make test CTEST_ARGS='--label-exclude screen-reader'.
test: build
	ctest --preset default $(CTEST_ARGS)
	$(MAKE) test-sanitize

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize $(CTEST_ARGS)

# A long event storm of a million events from a fresh seed, which it prints (replay a failure with
# make soak QUILLORA_STORM_SEED=<seed>), and 100,000 Resets.
QUILLORA_STORM_SEED ?= $(shell od -An -N4 -tu4 /dev/urandom | tr -d ' ')
soak: build
	QUILLORA_STORM_SEED=$(QUILLORA_STORM_SEED) QUILLORA_STORM_EVENTS=1000000 QUILLORA_RESETS=100000 \
		ctest --preset default -R 'tst_eventstorm|tst_memory' --timeout 7200 --verbose

# The committed tree on Debian 12, 13 and unstable, each in fresh build roots (as root): on 13 and
# unstable make test as a new user runs it, then on all three Debian's QA tools on the package:
# sbuild, lintian, autopkgtest and piuparts. Roots and caches are kept in
# /var/cache/quillora-releases.
test-releases: deps
	scripts/test-releases

# Line and branch coverage of each folder after the whole suite, from gcov's counters.
# A fresh build each time: counters left from sources since moved or deleted confuse gcovr.
coverage: deps
	rm -rf build-coverage
	cmake --preset coverage
	cmake --build --preset coverage
	ctest --preset coverage
	scripts/coverage-report build-coverage

# Every benchmark until its median settles, in a few minutes; bench-full takes the fixed number of
# steps of the long record run (about 25 minutes on two cores).
bench: configure
	cmake --build --preset default --target bench

bench-full: configure
	cmake --build --preset default --target bench-full

# Static analysis with clazy and clang-tidy of every C++ file, the tests' and the benchmark's too,
# with what they include installed, and the include order of each library's files, which has no
# circle. It needs clang, so it stays out of make test; CI runs it after make test, and so should
# you before each submission.
lint: build
	scripts/lint build

# Installs where desktop users expect it: make install PREFIX=$HOME/.local
# make uninstall PREFIX=$HOME/.local removes what it put there, and the folders it made where they
# are left empty, by the record it keeps in the prefix: no build is needed.
PREFIX ?= /usr/local
install: build
	scripts/install build "$(PREFIX)"

uninstall:
	scripts/uninstall "$(PREFIX)"

# The Debian source package and the binary package built from it, in build-package/ (PACKAGEDIR):
# the orig tarball of the source tree as make dist makes it, the .dsc with packaging/debian as its
# debian/, the .deb and the .changes, by dpkg-buildpackage and debhelper. The binary package names
# whoever builds it as its Maintainer:
# DEBFULLNAME='Your Name' DEBEMAIL=you@example.org make package
# The same commit gives the same bytes wherever, whenever and by whomever it is built.
PACKAGEDIR ?= build-package
package: deps
	scripts/build-package $(PACKAGEDIR)

# The source release quillora-<version>.tar.xz of the committed tree, in DISTDIR: the same bytes
# for the same commit, whatever the user's git settings; the orig tarball of the Debian package.
VERSION := $(shell sed -n 's/^project.Quillora VERSION \([^ ]*\) .*/\1/p' CMakeLists.txt)
DISTDIR ?= .
dist: deps
	scripts/dist --commit HEAD $(DISTDIR)/quillora-$(VERSION).tar.xz

clean:
	rm -rf build build-sanitize build-coverage build-package quillora-*.tar.xz
