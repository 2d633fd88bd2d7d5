# Shortcuts over the CMake presets. `make run` builds and opens the window, `make test` builds
# and runs every test, `make package` builds the Debian packages, `make windows` the 32-bit
# Windows programs, library, zip and installer; all expect the packages of scripts/install-deps.sh.
.PHONY: all build run test package windows web asan fuzz bench clean

all: build

build:
	cmake --preset default
	cmake --build --preset default

run: build
	@scripts/open-window.sh build/default

# The Linux build's tests; the Debian packages and their check; then the Windows builds' tests
# under Wine, on a display of their own: the 32-bit build's files read with objdump and its
# library, then the 64-bit build's transcripts and installer. Under Wine a test now and then fails
# once and passes on every rerun (twice in some forty runs, in two tests; once a program's output
# never reached its reader): a Windows test that fails runs once more, and the failure stays in
# the log.
test: build
	ctest --preset default
	$(MAKE) package
	sh tests/package/check.sh
	$(MAKE) windows
	cmake --preset windows-x64
	cmake --build --preset windows-x64
	scripts/with-display.sh ctest --preset windows-x86
	scripts/with-display.sh ctest --preset windows-x64

# quillet.exe, quillet.dll and quillet-cli.exe for 32-bit Windows in build/windows-x86/bin, and
# the zip and the installer that hold them in build/windows-x86.
windows:
	cmake --preset windows-x86
	cmake --build --preset windows-x86

# The web page, one file that carries the engine in WebAssembly: build/web/quillet.html.
web:
	cmake --preset web
	cmake --build --preset web
	@echo "build/web/quillet.html: $$(wc -c < build/web/quillet.html) bytes"

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
