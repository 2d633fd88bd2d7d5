# Shortcuts over the CMake presets. `make run` builds and opens the window, `make test` builds
# and runs every test, `make package` builds the Debian package; all expect the packages of
# scripts/install-deps.sh.
.PHONY: all build run test package asan clean

all: build

build:
	cmake --preset default
	cmake --build --preset default

run: build
	@scripts/open-window.sh build/default

test: build
	ctest --preset default
	$(MAKE) package
	sh scripts/check-package.sh

# A Release build installed under /usr, packed by CPack: build/package/quillet_*.deb.
package:
	cmake --preset package
	cmake --build --preset package

# The engine's tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

clean:
	rm -rf build
