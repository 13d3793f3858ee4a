# The two set-up commands: `make run` and `make test`.
BUILD_DIR ?= build
WERROR ?= OFF
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30
SANITIZE_DIR ?= build-sanitize
WINDOWS_DIR ?= build-windows
# GoogleTest's sources (Debian: googletest), built for Windows in WINDOWS_DIR.
GTEST_SOURCE ?= /usr/src/googletest

.PHONY: run test build configure deps bench package clean fuzz sanitize windows

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DVORELBOX_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/vorelbox

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package: $(BUILD_DIR)/vorelbox_<version>_<arch>.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	$(BUILD_DIR)/bin/vorelbox_bench

# The fuzz targets, built with clang and libFuzzer in build-fuzz and run
# FUZZ_SECONDS (30) each; FUZZ_TARGETS picks some of them.
fuzz: deps
	BUILD_DIR=$(FUZZ_DIR) FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) ./scripts/fuzz.sh

# Everything built with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# in build-sanitize, then the whole suite, the Qt tests too.
sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DVORELBOX_SANITIZE=ON -DVORELBOX_WERROR=$(WERROR)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	  ctest --output-on-failure -j $(JOBS)

# The Windows build, cross-compiled with mingw-w64 in WINDOWS_DIR: every
# library without Qt, vorelbox-cli.exe and the test programs, whose tests run
# under Wine. vorelbox-cli.exe is compared with the Linux vorelbox-cli of
# BUILD_DIR, which is built first. expat is built from Debian's source package
# in WINDOWS_DIR/expat, once. See docs/windows.md.
windows: configure
	./scripts/install-deps.sh --windows
	JOBS=$(JOBS) ./scripts/build-expat-windows.sh $(WINDOWS_DIR)/expat
	cmake --build $(BUILD_DIR) -j $(JOBS) --target vorelbox-cli
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DVORELBOX_GUI=OFF -DVORELBOX_WERROR=$(WERROR) \
	  -DVORELBOX_GTEST_SOURCE=$(GTEST_SOURCE) -DVORELBOX_LINUX_CLI=$(abspath $(BUILD_DIR))/bin/vorelbox-cli \
	  -DEXPAT_INCLUDE_DIR=$(abspath $(WINDOWS_DIR))/expat/prefix/include \
	  -DEXPAT_LIBRARY=$(abspath $(WINDOWS_DIR))/expat/prefix/lib/libexpat.a
	cmake --build $(WINDOWS_DIR) -j $(JOBS)
	./cmake/wine-run.sh wineboot --init
	cd $(WINDOWS_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
