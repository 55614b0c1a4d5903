# Tolvi: make run, make test, make bench (see README.md).
SHELL := /bin/bash
JOBS ?= 2
# Debug with sanitizers, for the tests; the native program as players get it; Windows;
# the browser program.
NATIVE := build/native
APP := build/app
WIN := build/win
BENCH := build/bench
WEB := build/web

.PHONY: all deps format format-check native app win web run run-windows run-web test unit-native \
	test-web test-windows test-package fuzz fuzz-short bench dist deb screenshots clean

all: app win

deps:
	@tools/install-deps

# Every tracked C++ file as .clang-format lays it out; make test checks that first.
format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	tools/check-format

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DTOLVI_SANITIZE=ON
	cmake --build $(NATIVE) -j$(JOBS)

app: deps
	cmake -S . -B $(APP) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(APP) -j$(JOBS) --target tolvi_gtk

win: deps
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN) -j$(JOBS)

# The browser program as static files in dist/web: the page, tolvi.js, tolvi.wasm, the
# service worker, the manifest, the pictures and the samples.
web: deps
	emcmake cmake -S . -B $(WEB) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WEB) -j$(JOBS) --target tolvi_web
	python3 web/lay_out_page.py $(WEB)/web dist/web

# The native program in run/ with the sample sentences; run-windows: tolvi.exe under Wine.
run: app
	tools/run-native $(APP)/gtk/tolvi

run-windows: win
	tools/run-game

# dist/web served on 127.0.0.1; it prints the address to open.
run-web: web
	tools/serve-web dist/web

# The unit, stress and native end-to-end tests, on a virtual display.
unit-native: native
	tools/with-display ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)

# The unit tests built for the browser, run under node, and the scenarios of the end-to-end
# tests on the page in headless Chromium.
test-web: deps
	emcmake cmake -S . -B $(WEB) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WEB) -j$(JOBS)
	ctest --test-dir $(WEB) --output-on-failure

# The Windows unit tests and the end-to-end tests, under Wine on a virtual display.
test-windows: win
	tools/with-wine-display ctest --test-dir $(WIN) --output-on-failure

# The Debian package unpacked, checked and started, on a virtual display of its own.
test-package: deb
	tools/with-display tests/package/test_package

# The four fuzz targets, one a core, each until FUZZ_RUNS executions or FUZZ_SECONDS;
# make test runs a short pass of each.
FUZZ_SECONDS ?= 590
FUZZ_RUNS ?= 10000000
fuzz: deps
	tools/fuzz $(FUZZ_SECONDS) $(FUZZ_RUNS)

fuzz-short: deps
	tools/fuzz 10

test: format-check unit-native fuzz-short test-windows test-web test-package

# The core against one raw pass over the same file, then the real program under Wine, then
# the native one beside a bare GTK window, on an accessibility bus of its own, then the page
# in headless Chromium beside the native one.
bench: win app web
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DTOLVI_BENCH=ON -DTOLVI_GTK=OFF
	cmake --build $(BENCH) -j$(JOBS) --target tolvi_bench tolvi_bare_window
	$(BENCH)/bench/tolvi_bench --benchmark_color=false
	tools/with-wine-display bench/first_prompt
	tools/with-display dbus-run-session -- /usr/bin/python3 bench/native_program
	tools/with-display dbus-run-session -- /usr/bin/python3 bench/web_program

# Remakes the pictures in docs/screenshots that README.md shows.
screenshots: win
	tools/screenshots

dist: win
	tools/make-dist

deb: app
	tools/make-deb $(APP)/gtk/tolvi

clean:
	rm -rf build run dist
