# Everyday entry points; the real build is CMake's, in build/.
BUILD_DIR  := build
SANITIZE_DIR := build-sanitize
BUILD_TYPE := RelWithDebInfo
JOBS       := $(shell nproc 2>/dev/null || echo 2)
PROGRAM    := $(BUILD_DIR)/app/quillon
SNAPSHOT   := $(BUILD_DIR)/tools/snapshot/quillon-snapshot

.PHONY: all build run test test-sanitize clean install-deps configure

all: build

install-deps:
	@bash tools/install-deps.sh

# Configure once (the stamp is only made by a configure that succeeded); afterwards the build
# re-runs CMake by itself when a CMakeLists.txt changes.
configure: install-deps
	@[ -f $(BUILD_DIR)/.configured ] || { \
		cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) && touch $(BUILD_DIR)/.configured; }

# CMake's own make gets a clean slate: its own -j, not this one's jobserver or nesting level.
build: configure
	@env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "There is no display here to show the clock on (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2; \
		echo "Run 'make run' from a desktop session, or draw the bar into a picture instead:" >&2; \
		echo "  $(SNAPSHOT) --time 12:00 --output quillon.png" >&2; \
		exit 1; \
	fi
	$(PROGRAM)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure

# The unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of
# their own; any report fails the run. The end-to-end tests (label xvfb) stay with `make test`.
SANITIZE_FLAGS := -O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all
test-sanitize: install-deps
	@[ -f $(SANITIZE_DIR)/.configured ] || { \
		cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLON_BENCH=OFF \
			-DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
			-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
			-DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
		&& touch $(SANITIZE_DIR)/.configured; }
	@env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL cmake --build $(SANITIZE_DIR) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --test-dir $(SANITIZE_DIR) --output-on-failure --label-exclude xvfb

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
