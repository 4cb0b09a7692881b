# Developer targets. The two user commands are ./run and ./test; these reuse
# the same set-up (scripts/install-deps, scripts/build).
.PHONY: all build test run bench fuzz test-sanitize package screenshots check-fresh

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
