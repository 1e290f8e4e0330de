# Thin wrapper over the CMake presets: `make run` and `make test` are all a new user needs.
.PHONY: all deps configure build run test bench clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake --preset default

build: configure
	cmake --build --preset default --parallel

run: build
	build/app/quillora

test: build
	ctest --preset default --parallel 2

bench: configure
	cmake --build --preset default --target bench

clean:
	rm -rf build
