# Quick start on Debian 12:  make run  |  make test
JOBS ?= $(shell nproc)
CTEST_ARGS ?=
FUZZ_SECONDS ?= 30

.PHONY: deps build run test screens asan tsan fuzz bench clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

run: build
	./build/quorvex-companion

# Every test in one ctest run under a private X server: headless tests set
# QT_QPA_PLATFORM=offscreen themselves, x11-labelled tests use the Xvfb display,
# pulse-labelled tests start their own PulseAudio daemon.
test: build
	@scripts/run-tests build $(CTEST_ARGS)

# Every scene of the screens tool as build/screens/<scene>.png, under a private X server.
screens: build
	@scripts/render-screens build

asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" LSAN_OPTIONS="suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" scripts/run-tests build-asan $(CTEST_ARGS)

tsan: deps
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan -j $(JOBS)
	@TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/scripts/tsan.supp" scripts/run-tests build-tsan $(CTEST_ARGS)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j $(JOBS)
	@echo "benchmarks built in build-bench/bench/ (run them by hand)"

clean:
	rm -rf build build-asan build-tsan build-fuzz build-bench
