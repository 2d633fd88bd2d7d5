# Shortcuts over the CMake presets. `make run` builds and opens the window, `make test` builds
# and runs every test; both expect the packages of scripts/install-deps.sh.
.PHONY: all build run test windows asan clean

all: build

build:
	cmake --preset default
	cmake --build --preset default

run: build
	@scripts/open-window.sh build/default

# The Linux build's tests, then the Windows build's: its files read with objdump, then the
# library and quillet-cli.exe under Wine, against the Linux build's quillet-cli.
test: build
	ctest --preset default
	$(MAKE) windows
	ctest --preset windows-x86

# quillet.dll, quillet-cli.exe and the library's test program for 32-bit Windows, in
# build/windows-x86/bin.
windows:
	cmake --preset windows-x86
	cmake --build --preset windows-x86

# The engine's tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

clean:
	rm -rf build
