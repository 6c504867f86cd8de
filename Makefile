# Thin wrapper over CMake: `make run`, `make test`, `make bench`.
BUILD     ?= build
SANITIZE  ?= $(BUILD)/sanitize
JOBS      ?= $(shell nproc)
FUZZ_SECONDS ?= 30

PREFIX    ?= $(HOME)/.local

.PHONY: all deps configure build run translations test test-main test-sanitize sanitize-build fuzz-ui bench install uninstall deb clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what running needs: the engine, the program and its empty store; no tests, no
# benchmarks.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target quorpad seed_store
	$(BUILD)/bin/quorpad

# The catalogues brought up to date with the code; with ADD=it, Italian's made first.
translations: configure
	scripts/update-translations $(BUILD) $(ADD)

test: test-main test-sanitize

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole program again under AddressSanitizer and UndefinedBehaviorSanitizer, built with
# clang: the engine's tests and its fuzzer, the GUI tests, the X11 end-to-end runs and the
# user-interface fuzzer, each for a bounded time. Any sanitizer report fails the run.
sanitize-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug \
	  -DQUORPAD_SANITIZE=ON -DQUORPAD_FUZZ=ON -DQUORPAD_BENCH=OFF \
	  -DQUORPAD_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build $(SANITIZE) -j $(JOBS)

test-sanitize: sanitize-build
	scripts/run-sanitized $(SANITIZE) -j $(JOBS)

# The user-interface fuzzer for longer: make fuzz-ui SECONDS=600 [SEEDS="7 8"]. Each run
# prints its seeds; the same seeds replay the same actions.
SEEDS ?= $(shell date +%s)
fuzz-ui: sanitize-build
	scripts/run-sanitized $(SANITIZE) -- env -u SECONDS bash e2e/ui_fuzz.sh $(SANITIZE)/bin \
	  $(or $(SECONDS),300) $(SEEDS)

bench: build
	$(BUILD)/bin/template_bench --benchmark_counters_tabular=true
	$(BUILD)/bin/documents_bench
	$(BUILD)/bin/documents_bench --peak=floor
	$(BUILD)/bin/documents_bench --peak=open
	$(BUILD)/bin/documents_bench --peak=floor200
	$(BUILD)/bin/documents_bench --peak=open200
	$(BUILD)/bin/documents_bench --stalls
	$(BUILD)/bin/picker_bench
	$(BUILD)/bin/picker_bench --memory
	$(BUILD)/bin/picker_bench --reload
	$(BUILD)/bin/recovery_bench
	$(BUILD)/bin/find_bench
	$(BUILD)/bin/fields_bench
	$(BUILD)/bin/versions_bench
	$(BUILD)/bin/manager_bench
	bench/startup_bench.sh $(BUILD)/bin
	bench/pick_bench.sh $(BUILD)/bin

# The program folder goes to PREFIX/lib/quorpad with PREFIX/bin/quorpad linking to it, plus
# the desktop entry and the icon. An existing template store is never overwritten.
install: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS) --target quorpad
	cmake --install $(BUILD)

# Removes what install put there; the template store and the settings file stay.
uninstall:
	scripts/uninstall $(PREFIX)

# The Debian package, built with dpkg-buildpackage in build/deb and checked with lintian.
deb: deps
	scripts/build-deb $(BUILD)/deb

clean:
	rm -rf $(BUILD)
