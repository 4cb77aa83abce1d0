# Orvela: two commands set everything up on a fresh Debian 12 machine.
#   make run   installs what is missing, builds in release mode and starts the program
#   make test  installs, builds, runs the six fuzz targets for 10 seconds side by side,
#              every test, every test again under AddressSanitizer and
#              UndefinedBehaviorSanitizer, and the tests that start threads
#              under ThreadSanitizer
#   make fuzz  runs the six fuzz targets for 30 seconds side by side
#   make install   builds and installs under PREFIX (default /usr/local), below DESTDIR when given
#   make package   builds the Debian package, $(BUILD)/orvela_<version>_<arch>.deb

BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
# Every tree is configured with Ninja, which deps installs: the generator is
# not chosen by what the machine had before deps ran.
CONFIGURE  := ./scripts/configure.sh
FUZZ_BUILD ?= build-fuzz
FUZZ_CXX   ?= clang++
FUZZ_FLAGS := -std=c++20 -g -O1 -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined,float-cast-overflow -fno-sanitize-recover=all

.PHONY: deps build run predict install package lintian test test-generator test-release test-sanitize test-tsan fuzz fuzz-short bench clean

deps:
	./scripts/install-deps.sh

build: deps
	$(CONFIGURE) $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# The program looks for its help (ORVELA.CHM) and Info.txt in the directory
# it starts in: the build lays them out in share/orvela as they are installed.
run: build
	cd $(BUILD)/share/orvela && $(abspath $(BUILD))/app/orvela

# The command line on a sample path, Paris to New York.
predict: build
	./$(BUILD)/cli/orvela-predict --home 48.85N,2.35E --remote 40.71N,74.01W --antenna dipole

# The install rules write the desktop entry's Path= for the prefix given here.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	cmake --build $(BUILD) -j $(JOBS) --target package

# Debian's package checker on the package; lintian is installed on first use.
lintian: package
	command -v lintian >/dev/null || ./scripts/install-deps.sh lintian
	lintian --info --fail-on error,warning $(BUILD)/orvela_*.deb

test: fuzz-short test-generator test-release test-sanitize test-tsan

# CMake's default generator (Unix Makefiles, which packagers and IDEs use)
# does not make the folders a custom command writes into, where Ninja does.
# A scratch tree configured with it builds the targets that only run custom
# commands: the man pages, the icons and the help. Seconds, compiling nothing.
MAKE_BUILD ?= build-makefiles
test-generator: deps
	cmake -S . -B $(MAKE_BUILD) -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release -DORVELA_BENCH=OFF >/dev/null
	cmake --build $(MAKE_BUILD) -j $(JOBS) --target orvela-man-pages orvela-icons orvela-help

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The sanitizers' options, for the builds (test discovery runs the test
# programs) and for ctest: run by hand in $(TSAN_BUILD), ctest needs the same
# TSAN_OPTIONS. Any finding ends the program and fails its test.
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer need no
# suppression; ThreadSanitizer's, in tests/sanitizer/tsan.supp, hold only what
# is proven to lie inside Qt, each entry with its reason.
SUPP      := $(abspath tests/sanitizer)
ASAN_ENV  := ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
TSAN_ENV  := TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(SUPP)/tsan.supp

# AddressSanitizer with LeakSanitizer, and UndefinedBehaviorSanitizer with
# float-cast-overflow, over every program and every test, the window's on Qt's
# offscreen platform. Left out: the tests that install the whole build into a
# tree and into a Debian package (label "install"). They check where the
# files go, which a sanitizer does not change; the one program they run,
# orvela-predict, the command line's tests run too; and a package of
# sanitized programs is nothing anybody installs.
test-sanitize: deps
	$(CONFIGURE) $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DORVELA_SANITIZE=ON
	$(ASAN_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(ASAN_ENV) ctest --output-on-failure -j $(JOBS) -LE '^install$$'

# ThreadSanitizer over every test that starts a thread: the map compositor's
# two workers, the download tests (the loopback server runs on a thread of
# its own), the command line's (the same server; orvela-map runs the map
# workers, orvela-predict --batch its threads), the window's (the download
# thread and the map workers), the engine's ParallelFor (a test program
# of its own), and common/'s wake-up descriptor and worker priorities.
# -O1 with line tables only: ThreadSanitizer finds the same races at any
# optimisation and needs only lines for its stacks; its instrumented code
# compiles in half the time of -O2 -g.
TSAN_OPT   := -O1 -g1 -DNDEBUG
TSAN_TESTS := orvela-map-tests orvela-solar-tests orvela_cli_tests orvela-app-tests orvela-parallel-tests orvela-coverage-tests orvela-common-tests orvela-planner-tests
test-tsan: deps
	$(CONFIGURE) $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$(TSAN_OPT)" \
	  -DORVELA_TSAN=ON -DORVELA_BENCH=OFF
	$(TSAN_ENV) cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TESTS)
	cd $(TSAN_BUILD) && $(TSAN_ENV) ctest --output-on-failure -j $(JOBS) -R '^((map|solar|cli|app|coverage|common|planner)\.|engine\.ParallelFor\.)'

# Six targets under libFuzzer: the solar-flux parser, seeded with the real
# bulletins, the readers of NOAA's other flux products and of their cached
# copies, seeded with copies of each product's layout, the settings file's
# reader, seeded with registry exports, a line of orvela-predict --batch,
# seeded with real lines, the country file's reader, seeded with a country
# file, and the look-up of call signs in that file, seeded with call signs.
# They are built and run side by side over the cores: make fuzz-short gives
# each 10 seconds, make fuzz 30 (30 and 90 processor-seconds in all on two
# cores).
# New inputs gather in $(FUZZ_BUILD)/corpus/<target>, a crashing one in
# $(FUZZ_BUILD)/<target>-crash-*.
FUZZ_TARGETS := fuzz_geoalert fuzz_products fuzz_reg_file fuzz_batch_line fuzz_country_file fuzz_call_lookup
FUZZ_SECONDS ?= 10

$(FUZZ_BUILD)/fuzz_geoalert: solar/geoalert.h solar/quoted_piece.h solar/geoalert_parser.cpp common/whole_number.h tests/solar/fuzz_geoalert.cpp | deps
	mkdir -p $(FUZZ_BUILD)
	$(FUZZ_CXX) $(FUZZ_FLAGS) -I. tests/solar/fuzz_geoalert.cpp solar/geoalert_parser.cpp -o $@

# The products' readers and the cache's, with the atomic file the cache
# writes through; nlohmann-json is header only.
PRODUCTS_SOURCES := solar/product_parsers.cpp solar/product_cache.cpp common/atomic_file.cpp common/civil_time.cpp
$(FUZZ_BUILD)/fuzz_products: $(PRODUCTS_SOURCES) solar/products.h solar/quoted_piece.h solar/product_cache.h common/atomic_file.h \
		common/civil_time.h common/whole_number.h tests/solar/fuzz_products.cpp | deps
	mkdir -p $(FUZZ_BUILD)
	$(FUZZ_CXX) $(FUZZ_FLAGS) -I. tests/solar/fuzz_products.cpp $(PRODUCTS_SOURCES) -o $@

$(FUZZ_BUILD)/fuzz_reg_file: station/reg_file.h station/reg_file.cpp common/utf8.h common/utf8.cpp \
		tests/station/fuzz_reg_file.cpp | deps
	mkdir -p $(FUZZ_BUILD)
	$(FUZZ_CXX) $(FUZZ_FLAGS) -I. tests/station/fuzz_reg_file.cpp station/reg_file.cpp common/utf8.cpp -o $@

# A batch line to the options of its prediction: the line's own files, the
# options' checks and the call sign's, without the engine or the parser
# library's command line.
BATCH_LINE_SOURCES := cli/batch_line.cpp cli/prediction_options.cpp cli/values.cpp cli/program.cpp \
	station/locator.cpp station/call_sign.cpp common/utf8.cpp common/civil_time.cpp
$(FUZZ_BUILD)/fuzz_batch_line: $(BATCH_LINE_SOURCES) $(wildcard cli/*.h station/*.h engine/*.h common/*.h) \
		tests/cli/fuzz_batch_line.cpp | deps
	mkdir -p $(FUZZ_BUILD)
	$(FUZZ_CXX) $(FUZZ_FLAGS) -I. tests/cli/fuzz_batch_line.cpp $(BATCH_LINE_SOURCES) -o $@

# The country file's reader, and the look-up of any text as a call sign in
# the fixture country file.
COUNTRY_FIXTURE := tests/country/fixtures/cty-small.dat
$(FUZZ_BUILD)/fuzz_country_file: country/country_file.h country/country_file.cpp country/call_lookup.h \
		country/call_lookup.cpp tests/country/fuzz_country_file.cpp | deps
	mkdir -p $(FUZZ_BUILD)
	$(FUZZ_CXX) $(FUZZ_FLAGS) -I. tests/country/fuzz_country_file.cpp country/country_file.cpp country/call_lookup.cpp -o $@

$(FUZZ_BUILD)/fuzz_call_lookup: country/country_file.h country/country_file.cpp country/call_lookup.h \
		country/call_lookup.cpp tests/country/fuzz_call_lookup.cpp | deps
	mkdir -p $(FUZZ_BUILD)
	$(FUZZ_CXX) $(FUZZ_FLAGS) -I. -DORVELA_COUNTRY_FIXTURE='"$(abspath $(COUNTRY_FIXTURE))"' \
	  tests/country/fuzz_call_lookup.cpp country/country_file.cpp country/call_lookup.cpp -o $@

# Each target's seeds and dictionary.
FUZZ_SEEDS_fuzz_geoalert   := tests/solar/fixtures
FUZZ_SEEDS_fuzz_products   := tests/solar/fixtures/products
FUZZ_SEEDS_fuzz_reg_file   := tests/station/fixtures
FUZZ_SEEDS_fuzz_batch_line := tests/cli/fixtures/batch-lines
FUZZ_SEEDS_fuzz_country_file := tests/country/fixtures
FUZZ_SEEDS_fuzz_call_lookup := tests/country/fixtures/calls
FUZZ_DICT_fuzz_geoalert    := tests/solar/fuzz_geoalert.dict
FUZZ_DICT_fuzz_products    := tests/solar/fuzz_products.dict
FUZZ_DICT_fuzz_reg_file    := tests/station/fuzz_reg_file.dict
FUZZ_DICT_fuzz_batch_line  := tests/cli/fuzz_batch_line.dict
FUZZ_DICT_fuzz_country_file := tests/country/fuzz_country_file.dict
FUZZ_DICT_fuzz_call_lookup := tests/country/fuzz_call_lookup.dict

# One target for FUZZ_SECONDS.
fuzz-run-%: $(FUZZ_BUILD)/%
	mkdir -p $(FUZZ_BUILD)/corpus/$*
	./$(FUZZ_BUILD)/$* -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -dict=$(FUZZ_DICT_$*) \
	  -artifact_prefix=$(FUZZ_BUILD)/$*- $(FUZZ_BUILD)/corpus/$* $(FUZZ_SEEDS_$*)

# All of them at once, each one's output kept together.
run-fuzzers = $(MAKE) --no-print-directory -j $(words $(FUZZ_TARGETS)) -O FUZZ_SECONDS=$(1) \
	$(addprefix fuzz-run-,$(FUZZ_TARGETS))

fuzz:
	$(call run-fuzzers,30)

fuzz-short:
	$(call run-fuzzers,10)

# start-up.sh times with hyperfine and GNU time, and exits 1 when the command
# line's start-up misses its goal: said, not fatal to the other benchmarks.
bench: build
	./$(BUILD)/bench/orvela-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
	./$(BUILD)/bench/orvela-bench-window --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	./scripts/install-deps.sh hyperfine time
	-./bench/start-up.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(MAKE_BUILD)
