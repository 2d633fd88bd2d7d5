# Shortcuts over the CMake presets. `make run` builds and opens the window, `make test` builds
# and runs every test, `make package` builds the Debian package, `make windows` the 32-bit Windows
# library and quillet-cli.exe; all expect the packages of scripts/install-deps.sh.
.PHONY: all build run test package windows asan fuzz bench clean

all: build

build:
	cmake --preset default
	cmake --build --preset default

run: build
	@scripts/open-window.sh build/default

# The Linux build's tests; the Debian package and its check; then the Windows build's tests: its
# files read with objdump, then the library and quillet-cli.exe under Wine, against the Linux
# build's quillet-cli.
test: build
	ctest --preset default
	$(MAKE) package
	sh scripts/check-package.sh
	$(MAKE) windows
	ctest --preset windows-x86

# quillet.dll, quillet-cli.exe and the library's test program for 32-bit Windows, in
# build/windows-x86/bin.
windows:
	cmake --preset windows-x86
	cmake --build --preset windows-x86

# A Release build installed under /usr, packed by CPack: build/package/quillet_*.deb.
package:
	cmake --preset package
	cmake --build --preset package

# The engine's and quillet-cli's tests, fault injection and the seed corpus under
# AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The fuzz targets with libFuzzer, from their seed corpus; `make fuzz FUZZ_SECONDS=600` runs each
# for ten minutes instead of a fixed number of runs.
fuzz:
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/fuzz.sh build/fuzz $(FUZZ_SECONDS)

# quillet-cli against a plain and a synced copy of the same bytes; see bench/bench.py.
bench: build
	python3 bench/bench.py build/default/bin

clean:
	rm -rf build
