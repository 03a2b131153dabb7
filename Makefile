# Everyday entry points; the real build is CMake's, in build/.
BUILD_DIR  := build
SANITIZE_DIR := build-sanitize
BUILD_TYPE := RelWithDebInfo
JOBS       := $(shell nproc 2>/dev/null || echo 2)
PROGRAM    := $(BUILD_DIR)/app/quillon
SNAPSHOT   := $(BUILD_DIR)/tools/snapshot/quillon-snapshot

PREFIX     := /usr/local
INSTALL_MANIFEST := $(BUILD_DIR)/installed-files.txt
# CI builds with WARNINGS_AS_ERRORS=ON; locally a newer compiler's new warning stays a warning.
WARNINGS_AS_ERRORS ?= OFF
WARNINGS_OPTION := -DQUILLON_WARNINGS_AS_ERRORS:BOOL=$(WARNINGS_AS_ERRORS)
# CMake's own make gets a clean slate: its own -j, not this one's jobserver or nesting level.
CMAKE_BUILD := env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL cmake --build

.PHONY: all build run test test-sanitize test-debian13 check-format check-includes clean install-deps install-test-deps \
	configure configure-tests install uninstall package

all: build

install-deps:
	@bash tools/install-deps.sh

install-test-deps:
	@bash tools/install-deps.sh --test

# The stamps skip configuring a folder again, so the warnings option is compared with the
# folder's cache on every run and set when it differs: a folder configured without it (or with
# it) follows the WARNINGS_AS_ERRORS of this run.
apply-warnings-option = grep -qx 'QUILLON_WARNINGS_AS_ERRORS:BOOL=$(WARNINGS_AS_ERRORS)' \
	$(1)/CMakeCache.txt || cmake -S . -B $(1) $(WARNINGS_OPTION) >/dev/null

# Configure once (the stamp is only made by a configure that succeeded); afterwards the build
# re-runs CMake by itself when a CMakeLists.txt changes. The program alone, unless the tests
# were configured already; `make test` adds them and their packages.
configure: install-deps
	@[ -f $(BUILD_DIR)/.configured ] || { \
		cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(WARNINGS_OPTION) \
			-DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF && touch $(BUILD_DIR)/.configured; }
	@$(call apply-warnings-option,$(BUILD_DIR))

configure-tests: install-test-deps
	@[ -f $(BUILD_DIR)/.configured-tests ] || { \
		cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(WARNINGS_OPTION) \
			-DQUILLON_TESTS=ON -DQUILLON_BENCH=ON \
		&& touch $(BUILD_DIR)/.configured $(BUILD_DIR)/.configured-tests; }
	@$(call apply-warnings-option,$(BUILD_DIR))

build: configure
	@$(CMAKE_BUILD) $(BUILD_DIR) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "There is no display here to show the clock on (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2; \
		echo "Run 'make run' from a desktop session, or draw the bar into a picture instead:" >&2; \
		echo "  $(SNAPSHOT) --time 12:00 --output quillon.png" >&2; \
		exit 1; \
	fi
	$(PROGRAM)

# Into $(DESTDIR)$(PREFIX): the program in lib/quillon/, a link to it in bin/, the menu entry,
# icons and software-centre description under share/. CMake's install_manifest.txt is rewritten
# by every later install from this build (make package, the tests), so the list is kept aside.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"
	cp $(BUILD_DIR)/install_manifest.txt $(INSTALL_MANIFEST)

# Removes every file the install listed (the link included), then the program's folder.
uninstall:
	@[ -f $(INSTALL_MANIFEST) ] || { \
		echo "Nothing to uninstall: $(INSTALL_MANIFEST) is missing (make install writes it)." >&2; \
		exit 1; }
	@# The list's last line has no line end.
	@while IFS= read -r file || [ -n "$$file" ]; do rm -fv -- "$(DESTDIR)$$file"; done <$(INSTALL_MANIFEST)
	@sed -n 's|/lib/quillon/quillon$$|/lib/quillon|p' $(INSTALL_MANIFEST) | while IFS= read -r folder; do \
		rmdir --ignore-fail-on-non-empty -- "$(DESTDIR)$$folder" 2>/dev/null || true; done

# build/quillon_<version>_<arch>.deb, installing under /usr.
package: build
	@bash tools/install-deps.sh --package
	cpack --config $(BUILD_DIR)/CPackConfig.cmake -B $(BUILD_DIR)

test: configure-tests
	@$(CMAKE_BUILD) $(BUILD_DIR) -j$(JOBS)
	ctest --test-dir $(BUILD_DIR) --output-on-failure

# The unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of
# their own; any report fails the run. The end-to-end tests (label xvfb) stay with `make test`.
# CMakePresets.json's sanitize preset repeats these flags and the ctest environment below.
SANITIZE_FLAGS := -O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all
test-sanitize: install-test-deps
	@[ -f $(SANITIZE_DIR)/.configured ] || { \
		cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLON_BENCH=OFF \
			$(WARNINGS_OPTION) -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
			-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
			-DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
		&& touch $(SANITIZE_DIR)/.configured; }
	@$(call apply-warnings-option,$(SANITIZE_DIR))
	@$(CMAKE_BUILD) $(SANITIZE_DIR) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --test-dir $(SANITIZE_DIR) --output-on-failure --label-exclude xvfb

# The same on Debian 13: make test and make package in a Debian 13 tree that debootstrap makes
# once and tools/debian13.sh keeps in /var/cache/quillon-debian13, then the package installed
# with apt into a fresh tree, where the clock must start and save. Needs root (through sudo).
test-debian13:
	@WARNINGS_AS_ERRORS=$(WARNINGS_AS_ERRORS) bash tools/debian13.sh test

# Every C++ file as .clang-format wants it; lists the places that differ. (VersionInfo.h.in is
# C++ only once CMake has filled it in.)
check-format: install-test-deps
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# Every include in the direction the map in docs/ARCHITECTURE.md draws.
check-includes:
	@bash tools/check-includes.sh

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
