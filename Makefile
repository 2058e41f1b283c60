# Set-up, build, run and test in one command each, on a fresh Debian 12 machine.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CLANG_BUILD ?= build-clang
JOBS ?= $(shell nproc)

WINDOWS_BUILD ?= build-windows
# The Windows and web libraries live outside the clone, keyed by their pinned versions.
WINDOWS_PREFIX ?= $(shell bash scripts/deps/prefix.sh windows)
WEB_BUILD ?= build-web
WEB_PREFIX ?= $(shell bash scripts/deps/prefix.sh web)
WEB_PORT ?= 8000

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
SOAK_HOURS ?= 100

.PHONY: all run test test-sanitize test-clang bench fuzz soak build configure clean format format-check package \
        deps-windows deps-web windows test-windows windows-configure web serve-web test-web

all: build

configure:
	@bash scripts/install-deps.sh $(DEPS)
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: DEPS = run
run: CMAKE_FLAGS = -DHOPLA_TESTS=OFF -DHOPLA_BENCH=OFF
run: build
	./$(BUILD)/hopla

test: DEPS = test
test: CMAKE_FLAGS = -DHOPLA_BENCH=OFF -DHOPLA_WERROR=ON
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same tests in a build with AddressSanitizer and UndefinedBehaviorSanitizer, stopping at
# the first report.
test-sanitize: export ASAN_OPTIONS = halt_on_error=1:detect_leaks=1
test-sanitize: export UBSAN_OPTIONS = halt_on_error=1:print_stacktrace=1
test-sanitize: export LSAN_OPTIONS = suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
test-sanitize:
	@$(MAKE) --no-print-directory test BUILD=$(SANITIZE_BUILD) \
	    CMAKE_FLAGS="-DHOPLA_BENCH=OFF -DHOPLA_WERROR=ON -DHOPLA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

# The tests again from a clang build (the window and package tests aside): the replay corpus must
# give the same hashes as from g++.
test-clang:
	@$(MAKE) --no-print-directory build BUILD=$(CLANG_BUILD) DEPS=test \
	    CMAKE_FLAGS="-DHOPLA_BENCH=OFF -DHOPLA_WERROR=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++"
	cd $(CLANG_BUILD) && ctest --output-on-failure -j $(JOBS) -E '^(e2e_|package$$)'

# The Debian package, $(BUILD)/hopla_VERSION_ARCH.deb.
package: DEPS = package
package: CMAKE_FLAGS = -DHOPLA_TESTS=OFF -DHOPLA_BENCH=OFF
package: build
	cd $(BUILD) && cpack -G DEB

bench: DEPS = bench
bench: CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=Release -DHOPLA_TESTS=OFF -DHOPLA_BENCH=ON
bench: BUILD = build-bench
bench: build
	bash bench/run.sh $(BUILD)

# SOAK_HOURS of random play in the sanitizer build (SOAK_SEED replays a run).
soak: export ASAN_OPTIONS = halt_on_error=1:detect_leaks=1
soak: export UBSAN_OPTIONS = halt_on_error=1:print_stacktrace=1
soak: export LSAN_OPTIONS = suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
soak:
	@$(MAKE) --no-print-directory configure BUILD=$(SANITIZE_BUILD) DEPS=test \
	    CMAKE_FLAGS="-DHOPLA_BENCH=OFF -DHOPLA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target hopla-soak
	./$(SANITIZE_BUILD)/hopla-soak --hours $(SOAK_HOURS) $(if $(SOAK_SEED),--seed $(SOAK_SEED))

# Each libFuzzer harness for FUZZ_SECONDS, in a clang build of its own; fails on any finding.
fuzz:
	@bash scripts/install-deps.sh fuzz
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DHOPLA_FUZZ=ON \
	    -DHOPLA_TESTS=OFF -DHOPLA_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_script fuzz_wave fuzz_bmp fuzz_demo fuzz_stages fuzz_text
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The libraries of the Windows and web builds, from Debian's source packages, in a cache outside
# the clone (~/.cache/hopla-deps, or $HOPLA_DEPS_CACHE), one folder per target and pinned
# versions, so a second clone skips their build; WINDOWS_PREFIX or WEB_PREFIX overrides the
# folder. Each ends with a smoke test under wine or node.
deps-windows:
	@bash scripts/install-deps.sh windows
	bash scripts/deps/build-windows.sh $(WINDOWS_PREFIX)

deps-web:
	@bash scripts/install-deps.sh web
	bash scripts/deps/build-web.sh $(WEB_PREFIX)

# The Windows build, cross-compiled with mingw-w64 against the libraries of deps-windows, in
# $(WINDOWS_BUILD): `make windows` leaves hopla-VERSION-windows-x64.zip and the installer
# hopla-VERSION-windows-x64-setup.exe there, `make test-windows` runs the tests under wine (one
# persistent wine server in the build tree, stopped at the end), the end-to-end test of the zip
# in a window under Xvfb and the installer's in a wine prefix of its own.
windows-configure: deps-windows
	@cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchains/mingw-w64-x86_64.cmake \
	    -DCMAKE_PREFIX_PATH=$(WINDOWS_PREFIX) -DHOPLA_BENCH=OFF -DHOPLA_WERROR=ON >/dev/null

windows: windows-configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target zip installer
	@ls -l $(WINDOWS_BUILD)/hopla-*-windows-x64.zip $(WINDOWS_BUILD)/hopla-*-windows-x64-setup.exe

test-windows: windows-configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@cmake --build $(WINDOWS_BUILD) --target zip installer
	cd $(WINDOWS_BUILD) && { ./wine-run.sh cmd /c ver >/dev/null; \
	    ctest --output-on-failure -j $(JOBS); status=$$?; ./wine-run.sh --stop; exit $$status; }

# The game in the browser: the libraries (make deps-web, skipped when built), then the site in
# $(WEB_BUILD)/site; serve-web serves it on 127.0.0.1:$(WEB_PORT); test-web runs the wasm tests
# under node and the site in Debian's headless chromium.
web:
	@bash scripts/install-deps.sh web
	bash scripts/deps/build-web.sh $(WEB_PREFIX)
	@cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/emscripten.cmake \
	    -DCMAKE_PREFIX_PATH=$(abspath $(WEB_PREFIX)) -DHOPLA_BENCH=OFF >/dev/null
	@cmake --build $(WEB_BUILD) -j $(JOBS) --target site
	@echo "site: $$(du -sb $(WEB_BUILD)/site | cut -f1) bytes in $(WEB_BUILD)/site"

serve-web: web
	@echo "Hopla at http://127.0.0.1:$(WEB_PORT)/"
	cd $(WEB_BUILD)/site && python3 -m http.server --bind 127.0.0.1 $(WEB_PORT)

test-web: web build
	@cmake --build $(WEB_BUILD) -j $(JOBS)
	cd $(WEB_BUILD) && ctest --output-on-failure -j $(JOBS)
	bash tests/web/site_test.sh $(WEB_BUILD) $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

# Fails, naming the files, when any source is not as clang-format would write it.
format-check:
	@git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(CLANG_BUILD) build-bench $(FUZZ_BUILD) $(WINDOWS_BUILD) \
	    $(WEB_BUILD)
