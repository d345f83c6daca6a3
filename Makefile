# Quick start on Debian 12:  make run  |  make test
JOBS ?= $(shell nproc)
CTEST_ARGS ?=
FUZZ_SECONDS ?= 30

.PHONY: deps build run test screens asan asan-ui asan-web tsan tsan-web fuzz bench clean format-check

deps:
	@scripts/install-deps

# A build folder is configured once; after that ninja re-runs CMake itself when a
# CMakeLists.txt changes, so a build with nothing changed does nothing.
build-%/build.ninja:
	@cmake --preset $* >/dev/null
build/build.ninja:
	@cmake --preset default >/dev/null

build: deps build/build.ninja
	@cmake --build --preset default -j $(JOBS)

# The application and its tools only; the tests are built by `make test`.
run: deps build/build.ninja
	@cmake --build --preset default -j $(JOBS) --target app_and_tools
	./build/quorvex-companion

# Every test in one ctest run under a private X server: headless tests set
# QT_QPA_PLATFORM=offscreen themselves, x11-labelled tests use the Xvfb display,
# pulse-labelled tests start their own PulseAudio daemon.
test: build
	@JOBS=$(JOBS) scripts/run-tests build $(CTEST_ARGS)

# Every scene of the screens tool as build/screens/<scene>.png, under a private X server.
screens: build
	@scripts/render-screens build

asan: deps build-asan/build.ninja
	@cmake --build --preset asan -j $(JOBS)
	@ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" LSAN_OPTIONS="suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/scripts/ubsan.supp" JOBS=$(JOBS) scripts/run-tests build-asan $(CTEST_ARGS)

# The suites of the pages, windows, assistant, pointer and account (the "memcheck" label,
# listed in tests/CMakeLists.txt) under AddressSanitizer and UndefinedBehaviorSanitizer,
# built without the rest (-O1, line tables): what CI runs after `make test`. Their
# options are these alone; none of them is there for the web engine, which these suites
# never load.
ASAN_UI_ENV = ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" \
	LSAN_OPTIONS="suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0" \
	UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/scripts/ubsan.supp"
asan-ui: deps build-asan-ui/build.ninja
	@cmake --build --preset asan-ui -j $(JOBS) --target memcheck_suites
	@$(ASAN_UI_ENV) JOBS=$(JOBS) scripts/run-tests build-asan-ui -L memcheck $(CTEST_ARGS)

# The AI window's page on the real web engine under AddressSanitizer and
# UndefinedBehaviorSanitizer: the helper (qx-aiweb) and its suites only, in the asan
# build, with the options of the runs above. The helper adds its own for Chromium,
# which is not built with the sanitizers (aiwebhelper/SanitizerDefaults.cpp: no leak
# check, no new/delete size check, no type checks of the engine's objects); the
# companion's side keeps every check. `make asan` runs the same suites with the rest.
WEB_SUITES = Ast3WebEngine|Ast4WebEngine|DayWebEngine|WebHelper|GuardWebEngine|FinWebEngine|GuardWindowOwner
asan-web: deps build-asan/build.ninja
	@cmake --build --preset asan -j $(JOBS) --target qx-aiweb qx-fake-aiweb assistant_webengine_tests assistant_webhelper_tests
	@$(ASAN_UI_ENV) JOBS=$(JOBS) scripts/run-tests build-asan -R '$(WEB_SUITES)' $(CTEST_ARGS)

TSAN_ENV = TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 suppressions=$(CURDIR)/scripts/tsan.supp"
tsan: deps build-tsan/build.ninja
	@cmake --build --preset tsan -j $(JOBS)
	@$(TSAN_ENV) JOBS=$(JOBS) scripts/run-tests build-tsan $(CTEST_ARGS)

# The same suites under ThreadSanitizer. The helper reports nothing of its own
# (report_bugs=0): Chromium's threads run in libraries the tool cannot see into. The
# companion's side, the link and the window check included, is checked as everywhere.
tsan-web: deps build-tsan/build.ninja
	@cmake --build --preset tsan -j $(JOBS) --target qx-aiweb qx-fake-aiweb assistant_webengine_tests assistant_webhelper_tests
	@$(TSAN_ENV) JOBS=$(JOBS) scripts/run-tests build-tsan -R '$(WEB_SUITES)' $(CTEST_ARGS)

fuzz: deps build-fuzz/build.ninja
	@cmake --build --preset fuzz -j $(JOBS)
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: deps build-bench/build.ninja
	@cmake --build --preset bench -j $(JOBS)
	@echo "benchmarks built in build-bench/bench/ (run them by hand)"

clean:
	rm -rf build build-asan build-asan-ui build-tsan build-fuzz build-bench

# The C++ lines changed since the merge base with main (or BASE=<commit>) follow
# .clang-format; on main itself (and in CI), the lines of the checked-out commit.
format-check:
	@scripts/check-format $(BASE)
