# The two commands: `make demo` and `make test`. Both install what is missing first.
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
WINE_SESSION := scripts/wine-session.sh
FUZZ_SECONDS ?= 60
FUZZ_SECONDS_SHORT ?= 10

.PHONY: all deps build native win32 win64 test demo bench fuzz fuzz-build fuzz-short format clean

all: build

deps:
	@scripts/install-deps.sh

build: native win32 win64

# Configuring every time is cheap and picks up plug-in folders that appeared since the last run.
CONFIGURE_native := cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug
CONFIGURE_win32 := cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
CONFIGURE_win64 := cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
CONFIGURE_fuzz := CC=clang CXX=clang++ cmake -S . -B build/fuzz -DPLUGINS_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug

native win32 win64: deps
	$(CONFIGURE_$@) >/dev/null
	cmake --build build/$@ -j $(JOBS)

test: build fuzz-short
	cd build/native && ctest --output-on-failure -j $(JOBS)
	$(WINE_SESSION) bash -c 'cd build/win64 && ctest --output-on-failure'
	scripts/abi-check.sh

demo: win64
	$(WINE_SESSION) scripts/demo.sh

bench: win64
	$(WINE_SESSION) scripts/bench.sh

fuzz-build: deps
	$(CONFIGURE_fuzz) >/dev/null
	cmake --build build/fuzz -j $(JOBS)
fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_SECONDS)
fuzz-short: fuzz-build
	scripts/fuzz.sh $(FUZZ_SECONDS_SHORT)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
