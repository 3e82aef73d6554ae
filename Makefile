# Set-up commands for users and CI.
#   make test  - install missing packages, configure, build, run every test
#   make run   - the same set-up, then compile examples/hello.bas and start the workbench on it
BUILD_DIR ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run clean format format-check

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

# House style: every tracked C++ file formatted by clang-format (.clang-format).
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
