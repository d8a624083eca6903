# Everything starts here. `make run` plays, `make test` checks.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzzers
COV_BUILD  ?= build-coverage
FUZZ_SECONDS ?= 50
SOAK_UPDATES ?= 1000000
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
CMAKE_ARGS ?=

.PHONY: all deps configure build run test test-asan test-tsan coverage fuzz bench soak demo install package assets-preview clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-game $(BUILD)/larkspin

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same tests with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLARKSPIN_SANITIZE=ON -DLARKSPIN_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE e2e

# The threaded network tests with ThreadSanitizer (only those are built).
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLARKSPIN_TSAN=ON -DLARKSPIN_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target larkspin_net_tests
	ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS) -L net

# Line and branch coverage of src/ by every test but the end-to-end ones,
# from an instrumented tree of its own; prints gcovr's summary.
coverage:
	@scripts/install-deps gcovr
	cmake -S . -B $(COV_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLARKSPIN_BENCH=OFF \
	  -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage $(CMAKE_ARGS)
	cmake --build $(COV_BUILD) -j $(JOBS)
	find $(COV_BUILD) -name '*.gcda' -delete
	ctest --test-dir $(COV_BUILD) -j $(JOBS) -LE e2e
	gcovr --root . --filter src/ --print-summary --txt $(COV_BUILD)/coverage.txt $(COV_BUILD)

# Every fuzz target under libFuzzer (clang, ASan + UBSan) for FUZZ_SECONDS each.
fuzz: deps
	FUZZ_BUILD=$(FUZZ_BUILD) FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_JOBS=$(JOBS) scripts/run-fuzzers

bench: build
	@scripts/run-benchmarks $(BUILD)

# Hours of play driven headless (SOAK_UPDATES updates, 1,000,000 by default)
# under LeakSanitizer: fails on a leak, a crash or memory that keeps growing.
soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target larkspin_soak
	cd $(BUILD) && ./tests/soak/larkspin_soak $(SOAK_UPDATES)

# Contact sheets of every picture sheet at level 1, numbered, for review.
assets-preview: configure
	cmake --build $(BUILD) --target larkspin_assetgen -j $(JOBS)
	$(BUILD)/tools/assetgen/larkspin_assetgen --preview $(BUILD)/assets-preview

# Plays the game through under a private Xvfb server, driven by xdotool:
# a screenshot per stage and the captured sound land in $(BUILD)/demo/<play>/.
demo: build
	@scripts/larkspin-demo --exe $(BUILD)/larkspin --out $(BUILD)/demo

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, larkspin_<version>_<arch>.deb in $(BUILD)/.
package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(COV_BUILD) $(FUZZ_BUILD)
