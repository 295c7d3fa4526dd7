# Tivoler: build for Windows from Linux, test natively and under wine64.
.PHONY: all deps native win32 win64 test unit e2e e2e-win64 run fuzz bench dist guide-images clean

all: win32

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j2

win32: deps
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j2

win64: deps
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j2

# Everything: unit tests, both Windows builds, product check, end-to-end tests.
test: deps
	@scripts/test.sh

unit: native
	./build/native/tivoler_unit

# End-to-end tests of the product (build/win32/tivoler.exe) under Wine 10 WoW64.
e2e: win32 win64
	scripts/e2e.sh

# The same tests against the 64-bit twin.
e2e-win64: win64
	TIVOLER_E2E_EXE=$(CURDIR)/build/win64/tivoler.exe scripts/e2e.sh

run: win32 win64
	scripts/run.sh

# Performance figures side by side with their baselines (see docs/performance.md).
bench: deps
	scripts/bench.sh

# Every fuzz target for a bounded time (FUZZ_SECONDS each, default 60).
fuzz: deps
	scripts/fuzz.sh

# The download for Windows users: build/dist/tivoler-<version>-win32.zip with the
# program, the licence and the guide in both languages, and the zip's SHA-256 (its last
# line). The version is the one of CMakeLists.txt. Debian's own Python runs it: it is
# the one python3-markdown extends.
DIST_PYTHON ?= /usr/bin/python3
dist: win32
	@$(DIST_PYTHON) scripts/dist.py \
	  "$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)" \
	  build/win32/tivoler.exe build/dist

# The guide's pictures (docs/images/*.png): the window and its menus as the end-to-end
# tests show them under Wine 10, in English and in Japanese.
guide-images: win32 win64
	scripts/guide-images.sh

clean:
	rm -rf build
