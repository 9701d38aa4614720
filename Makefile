# make        builds the program and the native tests
# make run    sets up what is missing, builds and starts the editor
# make test   sets up what is missing, builds and runs every test
# make test-stress  the same, while two busy processes take both cores
# make bench  builds and runs the benchmarks (not part of the tests)
# make dist   packs the zip for Windows users
# make forum-verdicts FORUMS=DIR  runs tests/data/forum-verdicts through the
#             forums' own code (php-cli; DIR as in tools/forum-judge/judge.php)
BUILD_DIR ?= build
HOST_DIR := $(BUILD_DIR)/host
WIN_DIR := $(BUILD_DIR)/win
CTEST_FLAGS ?= --output-on-failure -j2

.PHONY: all build setup run test test-stress bench dist clean forum-verdicts

all: build

setup:
	@tools/setup.sh

$(HOST_DIR)/build.ninja:
	cmake -S . -B $(HOST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

$(WIN_DIR)/build.ninja:
	cmake -S . -B $(WIN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DFORUM_HOST_BUILD_DIR=$(abspath $(HOST_DIR))

build: $(HOST_DIR)/build.ninja $(WIN_DIR)/build.ninja
	cmake --build $(HOST_DIR)
	cmake --build $(WIN_DIR)

run: setup build
	tools/run-editor.sh $(WIN_DIR)/forum-editor.exe

test: setup build
	tools/test-env.sh ctest --test-dir $(WIN_DIR) $(CTEST_FLAGS)

test-stress: setup build
	tools/with-busy-cores.sh 2 tools/test-env.sh ctest --test-dir $(WIN_DIR) $(CTEST_FLAGS)

# The benchmarks' first lines are the guard's ratios: the set-up and the
# build speak only when they fail.
bench:
	@mkdir -p $(BUILD_DIR)
	@$(MAKE) --no-print-directory setup build >$(BUILD_DIR)/bench-build.log 2>&1 || \
	    { cat $(BUILD_DIR)/bench-build.log; exit 1; }
	@tools/run-benchmarks.sh $(BUILD_DIR)

dist: build
	cmake --build $(WIN_DIR) --target dist
	@ls $(WIN_DIR)/dist/*.zip

forum-verdicts:
	tools/forum-judge/judge-all.sh $(FORUMS)

clean:
	rm -rf $(BUILD_DIR)
