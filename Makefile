# Two entry points for a fresh Debian 12 machine (see README.md):
#   make run   installs what is needed, builds, and starts the editor
#   make test  installs what is needed, builds, and runs every test
.PHONY: run test deps build-dev build-ci asan fuzz clean

JOBS ?= $(shell nproc)

deps:
	tools/install-deps.sh

build-dev: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

build-ci: deps
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)

run: build-dev
	tools/start-editor.sh build/dev

test: build-ci
	ctest --preset ci -j $(JOBS)
	tools/fuzz-smoke.sh

fuzz: deps
	FUZZ_SECONDS=$${FUZZ_SECONDS:-600} tools/fuzz-smoke.sh

asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

clean:
	rm -rf build
