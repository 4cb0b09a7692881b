# Developer targets. The two user commands are ./run and ./test; these reuse
# the same set-up (scripts/install-deps, scripts/build).
.PHONY: all build test run bench fuzz test-sanitize package screenshots check-fresh windows \
	check-windows

all: build

build:
	./scripts/install-deps
	./scripts/build

test:
	./test

run:
	./run

bench:
	./scripts/bench

fuzz:
	./scripts/fuzz

test-sanitize:
	./scripts/test-sanitize

package:
	./scripts/package

# ./test and the package in a fresh Debian 12 root (slow; needs root).
check-fresh:
	./scripts/check-fresh-root

screenshots: build
	./scripts/screenshots

# Windows: the zip for players (Qt for Windows is built from Debian's source
# on first use, an hour or more), and the game played under Wine against the
# Linux build. Neither is part of ./test.
windows:
	./scripts/build-windows

check-windows:
	./scripts/check-windows
