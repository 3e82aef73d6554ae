# Set-up commands for users and CI.
#   make test  - install missing packages, configure, build, run every test
#   make run   - the same set-up, then compile examples/hello.bas and start the workbench on it
BUILD_DIR ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run clean format format-check fuzz

all: build

deps:
	@bash tools/bootstrap.sh

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

run: build
	@bash tools/run.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)

# libFuzzer targets (tests/fuzz) in a Clang tree of their own, each run for
# FUZZ_SECONDS, FUZZ_JOBS at a time: make fuzz FUZZ_SECONDS=60 FUZZ_JOBS=2
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_FUZZ=ON -DVELMO_WERROR=ON
	cmake --build $(FUZZ_DIR) --target velmo_fuzzers
	FUZZ_JOBS=$(FUZZ_JOBS) bash tests/fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# House style: every tracked C++ file formatted by clang-format (.clang-format).
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
