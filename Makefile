# Two commands: `make run` and `make test`. Both install what is missing first.
# `make unit` runs only the fast tests (no display, no real player).
JOBS ?= $(shell nproc)

.PHONY: deps build run test unit bench clean

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTENOVA_TESTS=OFF
	cmake --build build -j $(JOBS)

run: build
	bash scripts/run.sh build/stenova build/samples/sample.wav

test: deps
	bash scripts/run-tests.sh

unit: deps
	bash scripts/run-tests.sh --unit

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSTENOVA_TESTS=OFF -DSTENOVA_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	bash scripts/run-bench.sh build-bench

clean:
	rm -rf build build-test build-bench
