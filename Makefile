# Pello Data Editor: the two commands a user needs are `make run` and `make test`.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
PREFIX ?= /usr/local
WERROR ?= OFF
JOBS ?= $(shell nproc)
CMAKE_ARGS ?=

SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h' 2>/dev/null)

.PHONY: all setup configure build test sanitize run bench fuzz package install format format-check clean

all: build

setup:
	@./scripts/setup

configure:
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DPELLO_WERROR=$(WERROR) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: setup build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Every test again, the windows' included, under AddressSanitizer and
# UndefinedBehaviorSanitizer.
sanitize: setup
	@cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELLO_WERROR=$(WERROR) \
		-DPELLO_SANITIZE=ON -DPELLO_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@ctest --test-dir build-sanitize --output-on-failure -j $(JOBS)

# Opens the editor on a copy of the sample, so the bundled file stays as it is. Only the
# editor is built: the tests and benchmarks wait for `make test` and `make bench`.
run: setup configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target pelledit
	@cp examples/sample.lst $(BUILD_DIR)/sample.lst
	@$(BUILD_DIR)/bin/pelledit /F $(BUILD_DIR)/sample.lst

# Every benchmark once, its output shown as it runs; then the README's table of figures is
# written from that one run, so that it never shows figures of another.
bench: setup build
	@./scripts/setup bench
	@./scripts/bench-table --build $(BUILD_DIR)

fuzz:
	@./scripts/setup fuzz
	@./scripts/fuzz

# The Debian package of the two programs and their desktop files, in $(BUILD_DIR).
package:
	@./scripts/setup package
	@$(MAKE) --no-print-directory configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target pelledit pellodata pello_dist_files
	@cd $(BUILD_DIR) && cpack -G DEB

# Both programs and their desktop files under $(PREFIX) (DESTDIR is honoured).
install: setup build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

format:
	@clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	@rm -rf $(BUILD_DIR) build-fuzz build-sanitize
