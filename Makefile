# Front door: `make play` and `make test` set up everything on a fresh Debian 12.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
CTEST_FLAGS ?=

.PHONY: all deps configure build test play bench package clean

all: build

deps:
	@scripts/deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) $(CTEST_FLAGS)

# Only the game and what it reads beside it; "make test" builds the rest in
# the same folder later.
play: configure
	@cmake --build $(BUILD) -j$(JOBS) --target game_files
	@$(BUILD)/game/quellon

# The Debian source and binary packages, built the way a distribution builds
# them (dpkg-buildpackage, with the package's own tests), land in $(BUILD)/deb/.
package: deps
	@JOBS=$(JOBS) scripts/build-deb $(BUILD)/deb
	@ls $(BUILD)/deb/quellon_*

bench: deps
	@cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DQUELLON_BUILD_BENCH=ON $(CMAKE_FLAGS)
	@cmake --build $(BUILD)-bench -j$(JOBS) --target benchmarks
	@for b in $(BUILD)-bench/bin/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done
	@echo "== start-up beside a bare Qt window"; QUELLON_BENCH_BUILD=$(BUILD)-bench JOBS=$(JOBS) scripts/measure-start

clean:
	@rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-fuzz $(BUILD)-asan

# Robustness runs: fuzz every reader of outside data for FUZZ_SECONDS per
# target (clang, libFuzzer), and the whole test suite under AddressSanitizer
# and UndefinedBehaviorSanitizer. An impossible allocation fails as it would
# without the sanitizer (Qt copes with a null image) instead of aborting. The
# package test is left out there: it builds the package with the
# distribution's flags, never with the sanitizers, so it would only repeat.
FUZZ_SECONDS ?= 60
ASAN_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS -O1
.PHONY: fuzz test-asan

fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_BUILD=$(BUILD)-fuzz JOBS=$(JOBS) scripts/fuzz

test-asan: deps
	@cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS=$(ASAN_FLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" $(CMAKE_FLAGS)
	@cmake --build $(BUILD)-asan -j$(JOBS)
	@cd $(BUILD)-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:allocator_may_return_null=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/reliability/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j$(JOBS) -E '^debian_package$$' $(CTEST_FLAGS)
