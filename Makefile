# Pavrix — top-level commands. `make run` and `make test` work on a fresh Debian machine as root.
BUILD      ?= build
JOBS       ?= 2
CMAKE_ARGS ?=
SAMPLE     ?= samples/walker.x
# Warnings as errors: off for whoever just builds the program, on for CI and the
# developer-only targets below.
WERROR     ?= OFF
PREFIX     ?= /usr/local
# The formatter's version is pinned: another version lays out the same code differently.
CLANG_FORMAT ?= clang-format-16

.PHONY: all deps configure build test run bench fuzz sanitize soak format format-check clean \
        install release-check desktop-check translations package

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DPAVRIX_WERROR=$(WERROR) $(CMAKE_ARGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

run: build
	@if [ -x $(BUILD)/src/app/pavrix ]; then \
	    $(BUILD)/src/app/pavrix $(SAMPLE); \
	else \
	    echo "The editor window is not built yet; the libraries and tests are."; \
	fi

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

fuzz: deps
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPAVRIX_WERROR=ON \
	    -DPAVRIX_FUZZ=ON -DPAVRIX_BUILD_TESTS=OFF -DPAVRIX_BUILD_BENCH=OFF
	cmake --build $(BUILD)-fuzz -j$(JOBS) --target xfile_fuzzer
	mkdir -p fuzz/corpus
	$(BUILD)-fuzz/fuzz/xfile_fuzzer fuzz/corpus fuzz/regressions samples \
	    $$(test -d ../shared/testdata/x && echo ../shared/testdata/x) \
	    -max_total_time=$${FUZZ_SECONDS:-300} -max_len=65536 -artifact_prefix=fuzz/

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer; any report
# fails the test it came from. Leak reports are off: the software rasteriser keeps a few
# allocations for the life of the process.
SANITIZE_CONFIGURE = cmake -S . -B $(BUILD)-sanitize $(CMAKE_ARGS) -DPAVRIX_BUILD_BENCH=OFF \
	    -DPAVRIX_WERROR=ON -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer" \
	    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
SANITIZE_ENV = QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

sanitize: deps
	$(SANITIZE_CONFIGURE)
	cmake --build $(BUILD)-sanitize -j$(JOBS)
	cd $(BUILD)-sanitize && $(SANITIZE_ENV) ctest --output-on-failure -j$(JOBS)

# The whole editor driven by a seeded random run of user actions under the sanitizers,
# invariants checked after every step (SOAK_SEED, SOAK_STEPS: a fixed seed, 2000 steps).
soak: deps
	$(SANITIZE_CONFIGURE)
	cmake --build $(BUILD)-sanitize -j$(JOBS) --target soak
	cd $(BUILD)-sanitize && $(SANITIZE_ENV) tests/soak/soak

# The program alone, built for use and installed under PREFIX (the desktop entry, icons,
# .x file type, manual and man page with it). DESTDIR is honoured for packaging.
install: deps
	cmake -S . -B $(BUILD)-release -DCMAKE_BUILD_TYPE=Release -DPAVRIX_BUILD_TESTS=OFF \
	    -DPAVRIX_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_ARGS)
	cmake --build $(BUILD)-release -j$(JOBS)
	cmake --install $(BUILD)-release

# A second compiler and configuration, warnings as errors, no tests: the build check CI
# runs besides the test build.
release-check: deps
	cmake -S . -B $(BUILD)-release-clang -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DPAVRIX_WERROR=ON -DPAVRIX_BUILD_TESTS=OFF \
	    -DPAVRIX_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(BUILD)-release-clang -j$(JOBS)

# The Debian package of a build: $(BUILD)/pavrix_VERSION_ARCH.deb (CPack; dependencies
# from dpkg-shlibdeps).
package: build
	cmake --build $(BUILD) --target package

# Installs into a temporary prefix and checks the desktop entry, the .x file type and the
# software-centre metadata; then builds the package, installs it into a dpkg tree of its
# own, runs it, removes it, and has lintian check it.
desktop-check: build
	scripts/check-desktop-install $(BUILD)

# Gathers the interface texts of src/ into translations/*.ts again (lupdate): new texts come
# in unfinished (the language test names them) until their translation is written.
translations: configure
	cmake --build $(BUILD) --target pavrix_lupdate

format:
	git ls-files '*.h' '*.cpp' | xargs $(CLANG_FORMAT) -i

format-check:
	git ls-files '*.h' '*.cpp' | xargs $(CLANG_FORMAT) --dry-run --Werror

clean:
	rm -rf $(BUILD) $(BUILD)-fuzz $(BUILD)-sanitize $(BUILD)-release $(BUILD)-release-clang
