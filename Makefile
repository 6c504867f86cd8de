# Thin wrapper over CMake: `make run`, `make test`, `make bench`.
BUILD     ?= build
SANITIZE  ?= $(BUILD)/sanitize
JOBS      ?= $(shell nproc)
FUZZ_SECONDS ?= 30

PREFIX    ?= $(HOME)/.local

.PHONY: all deps configure build run test test-main test-sanitize bench install uninstall clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@test -x $(BUILD)/bin/quorpad || { echo "quorpad is not built yet"; exit 1; }
	$(BUILD)/bin/quorpad

test: test-main test-sanitize

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The engine's tests again under AddressSanitizer and UndefinedBehaviorSanitizer, built with
# clang together with the fuzzer, which runs for a bounded time.
test-sanitize: deps
	CC=clang CXX=clang++ cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug \
	  -DQUORPAD_ENGINE_ONLY=ON -DQUORPAD_SANITIZE=ON -DQUORPAD_FUZZ=ON \
	  -DQUORPAD_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build $(SANITIZE) -j $(JOBS)
	ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bin/template_bench --benchmark_counters_tabular=true
	$(BUILD)/bin/documents_bench
	$(BUILD)/bin/documents_bench --peak=floor
	$(BUILD)/bin/documents_bench --peak=open
	$(BUILD)/bin/picker_bench
	$(BUILD)/bin/picker_bench --memory
	$(BUILD)/bin/recovery_bench

# The program folder goes to PREFIX/lib/quorpad with PREFIX/bin/quorpad linking to it, plus
# the desktop entry and the icon. An existing template store is never overwritten.
install: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS) --target quorpad
	cmake --install $(BUILD)

# Removes what install put there; the template store and the settings file stay.
uninstall:
	scripts/uninstall $(PREFIX)

clean:
	rm -rf $(BUILD)
