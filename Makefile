# Dayvane: the two commands a new user needs are `make run` and `make test`.
BUILD        ?= build
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
RELEASE_BUILD ?= build-release
FUZZ_SECONDS ?= 60
JOBS         ?= $(shell nproc)
APPTFILE     ?= NOTES.APT
PREFIX       ?= /usr/local
CMAKE_FLAGS  ?=
# Warnings are errors in every build made here; a plain CMake build only warns.
WERROR       := -DDVW_WERROR=ON

.PHONY: all deps build install run test release sanitize fuzz bench format format-check clean screenshot

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Installs dayvane, dayvane-cli, the help book, the desktop entry with its icon and file
# type, and the manual page under PREFIX (DESTDIR is honoured for staged installs).
install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

# Starts the desktop program on APPTFILE (the agenda in the terminal without a display).
run: build
	@scripts/run-dayvane "$(BUILD)" "$(APPTFILE)"

test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

# The optimised build a packager makes (-O3), warnings as errors; tests are not run.
release: deps
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(WERROR) -DDVW_BUILD_BENCH=OFF
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

# Core, store and iCalendar tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug $(WERROR) -DDVW_SANITIZE=ON \
	    -DDVW_ENGINE_ONLY=ON -DDVW_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest -j $(JOBS) --output-on-failure -L 'core|store|ical|fuzz'

# Every fuzz target under libFuzzer for a bounded time (FUZZ_SECONDS in total).
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR) \
	    -DDVW_LIBFUZZER=ON -DDVW_ENGINE_ONLY=ON -DDVW_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzzers "$(FUZZ_BUILD)" "$(FUZZ_SECONDS)"

# The main window as it looks after start, and the appointment list alone, rendered
# without a display, for the README.
screenshot: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/src/app/dayvane-screenshot docs/screenshot.png
	QT_QPA_PLATFORM=offscreen $(BUILD)/src/app/dayvane-screenshot --list docs/listview.png
	QT_QPA_PLATFORM=offscreen $(BUILD)/src/app/dayvane-screenshot --edit docs/editdialog.png
	QT_QPA_PLATFORM=offscreen $(BUILD)/src/app/dayvane-screenshot --edit-reduced docs/editdialog-reduced.png
	QT_QPA_PLATFORM=offscreen $(BUILD)/src/app/dayvane-screenshot --calendar docs/calendarview.png

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check:
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(RELEASE_BUILD)
