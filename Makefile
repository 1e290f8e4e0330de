# Thin wrapper over the CMake presets: `make run` and `make test` are all a new user needs.
.PHONY: all deps configure build run test test-sanitize soak bench bench-full install package clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake --preset default

build: configure
	cmake --build --preset default --parallel

run: build
	build/app/quillora

# Every test in the normal build, then again with AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer, where any report fails the run.
test: build
	ctest --preset default --parallel 2
	$(MAKE) test-sanitize

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize --parallel
	ctest --preset sanitize --parallel 2

# A long event storm: a million events for each seed.
soak: build
	QUILLORA_STORM_EVENTS=1000000 ctest --preset default -R tst_eventstorm --timeout 7200

# Every benchmark until its median settles, in a few minutes; bench-full takes the fixed number of
# steps of the long record run (about 25 minutes on two cores).
bench: configure
	cmake --build --preset default --parallel --target bench

bench-full: configure
	cmake --build --preset default --parallel --target bench-full

# Installs where desktop users expect it: make install PREFIX=$HOME/.local
PREFIX ?= /usr/local
install: build
	cmake --install build --prefix "$(PREFIX)"

# A Debian package in build/: quillora_1.00_<arch>.deb
package: build
	cd build && cpack -G DEB

clean:
	rm -rf build build-sanitize
