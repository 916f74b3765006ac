# Orbels Launch: `make run` builds and starts the launcher, `make test` builds and runs every test,
# `make dist` makes the zip, the installer and its winget manifests in build/dist/. All install the
# Debian packages they need first (as root, only those missing).
SHELL := /bin/bash

PACKAGES := cmake make g++ clang libclang-rt-14-dev libgtest-dev \
            g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
            wine64 fonts-wine xvfb x11-utils imagemagick fp-utils python3 \
            nsis zip git python3-yaml

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

# The zip, the installer, SHA256SUMS and the winget manifests, from a build tree of their own (no
# tests). OL_DOWNLOAD_URL=<address> says where the installer will be published (@VERSION@ for the
# version); without it the manifests name the default in packaging/CMakeLists.txt.
dist: deps
	rm -rf build/dist
	cmake --preset dist $(if $(OL_DOWNLOAD_URL),"-DOL_DOWNLOAD_URL=$(OL_DOWNLOAD_URL)",-UOL_DOWNLOAD_URL)
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
