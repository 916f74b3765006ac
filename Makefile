# Orbels Launch: `make run` builds and starts the launcher, `make test` builds and runs every test,
# `make dist` makes the zip and the installer in build/dist/. All install the Debian packages they
# need first (as root, only those missing).
SHELL := /bin/bash

PACKAGES := cmake make g++ clang libclang-rt-14-dev libgtest-dev \
            g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
            wine64 fonts-wine xvfb x11-utils imagemagick fp-utils python3 \
            nsis zip git

.PHONY: all deps build build-host build-windows build-fuzz test test-host test-windows test-fuzz run bench images soak dist dist-check clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build-host: deps
	cmake --preset host
	cmake --build --preset host

build-windows: deps
	cmake --preset windows
	cmake --build --preset windows

build-fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz

build: build-windows

test-host: build-host
	ctest --preset host

test-windows: build-windows
	ctest --preset windows

test-fuzz: build-fuzz
	ctest --preset fuzz

test: test-host test-windows test-fuzz

run: build-windows
	tools/run.sh

bench: build-windows
	tools/bench.sh

# The zip, the installer and SHA256SUMS, from a build tree of their own (no tests).
dist: deps
	rm -rf build/dist
	cmake --preset dist
	cmake --build --preset dist

# Builds dist twice from the current commit, in two fresh clones, and compares the files.
dist-check: deps
	packaging/dist-check.sh

soak: build-windows
	tools/soak.sh

images:
	python3 tools/make_images.py --no-previews

clean:
	rm -rf build
