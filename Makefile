# Front door: `make play` and `make test` set up everything on a fresh Debian 12.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
CTEST_FLAGS ?=

.PHONY: all deps configure build test play bench clean

all: build

deps:
	@scripts/deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) $(CTEST_FLAGS)

play: build
	@$(BUILD)/game/quellon

bench: deps
	@cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DQUELLON_BUILD_BENCH=ON $(CMAKE_FLAGS)
	@cmake --build $(BUILD)-bench -j$(JOBS) --target benchmarks
	@for b in $(BUILD)-bench/bin/bench_*; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	@rm -rf $(BUILD) $(BUILD)-bench
