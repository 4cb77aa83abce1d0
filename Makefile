# Orvela: two commands set everything up on a fresh Debian 12 machine.
#   make run   installs what is missing, builds in release mode and starts the program
#   make test  installs, builds, runs every test, then the sanitizer build's tests

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: deps build run predict test test-release test-sanitize bench clean

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/app/orvela

# The command line on a sample path, Paris to New York.
predict: build
	./$(BUILD)/cli/orvela-predict --home 48.85N,2.35E --remote 40.71N,74.01W --antenna dipole

test: test-release test-sanitize

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DORVELA_SANITIZE=ON -DORVELA_WITH_GUI=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/bench/orvela-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
