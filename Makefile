# The two commands of the README: `make run` and `make test`. Both install what is missing
# and build first. `make bench` runs the benchmarks, `make fuzz` builds the fuzz targets.
BUILD ?= build
TYPE  ?= RelWithDebInfo
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench fuzz asan format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS) -- --no-print-directory

# The program folder of a development run is ./data, so a rebuild never touches real files.
run: build
	@mkdir -p data
	$(BUILD)/bin/quenmara --dir data

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

bench: build
	@cmake --build $(BUILD) --target benchmarks -j$(JOBS) -- --no-print-directory
	@scripts/run-bench $(BUILD)

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
