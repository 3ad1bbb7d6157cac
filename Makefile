# The two commands of the README: `make run` and `make test`. Both install what is missing
# and build first. `make bench` runs the benchmarks; `make asan` builds the tests with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs them; `make fuzz` builds the fuzz
# targets with clang and runs each for FUZZ_SECONDS seconds (FUZZ_TARGETS: only these).
# `make package` builds the Debian package quenmara_VERSION_ARCH.deb here (CPack), in
# PACKAGE_BUILD without the tests.
BUILD ?= build
TYPE  ?= RelWithDebInfo
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?=
ASAN_BUILD ?= build-asan
PACKAGE_BUILD ?= build-package
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=

.PHONY: all deps configure build run test bench fuzz asan package format format-check clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) $(CMAKE_FLAGS)

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

# Lean on purpose, since it runs in CI beside the normal build: no benchmarks, -O1, line
# tables only.
asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" \
		-DQUENMARA_SANITIZE=ON -DQUENMARA_BENCH=OFF $(CMAKE_FLAGS)
	@cmake --build $(ASAN_BUILD) -j$(JOBS) -- --no-print-directory
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS)

fuzz:
	@scripts/install-deps --fuzz
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENMARA_FUZZ=ON
	@cmake --build $(FUZZ_BUILD) --target fuzzers -j$(JOBS) -- --no-print-directory
	@scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The package is built in a folder of its own, without the tests and benchmarks it does not
# hold (CPack builds every target of its folder before it packs), after the packaging tools
# are installed; each step says what it does.
package:
	@scripts/install-deps --package
	@echo "make package: configuring $(PACKAGE_BUILD) (the program only, no tests)"
	@cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) -DQUENMARA_TESTS=OFF \
		-DQUENMARA_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@echo "make package: building the program, its manual page and its user guide"
	@cmake --build $(PACKAGE_BUILD) -j$(JOBS) -- --no-print-directory
	@echo "make package: packing"
	@rm -rf $(PACKAGE_BUILD)/package
	@cpack --config $(PACKAGE_BUILD)/CPackConfig.cmake -B $(PACKAGE_BUILD)/package
	@mv $(PACKAGE_BUILD)/package/quenmara_*.deb .
	@ls quenmara_*.deb

format:
	@scripts/install-deps --lint
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

# Fails when a source file is not formatted as .clang-format says (CI runs it).
format-check:
	@scripts/install-deps --lint
	@clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
