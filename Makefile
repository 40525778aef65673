# Quendry: `make run` starts the wizard under Wine, `make test` runs every test. Both install what
# is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
TEST_ARCH = $(shell scripts/test-arch.sh)
WINBUILD = build/$(if $(filter i686,$(TEST_ARCH)),win32,win64)

.PHONY: setup host win32 win64 winbuild test unit wintest fuzz fuzzcheck bench run screenshots clean

setup:
	@scripts/setup.sh

host: setup
	cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build build/host -j $(JOBS)

# The product: one 32-bit executable.
win32: setup
	cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
	cmake --build build/win32 -j $(JOBS)

# Its 64-bit twin, built from the same sources so that they stay right for both pointer sizes; its
# tests run only where 32-bit programs can't run at all (scripts/test-arch.sh).
win64: setup
	cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
	cmake --build build/win64 -j $(JOBS)

winbuild: win32 win64

unit: host
	cd build/host && ctest --output-on-failure

wintest: winbuild
	@echo "Windows tests run the $(TEST_ARCH) build ($(WINBUILD)) under Wine; 32-bit programs run $$(scripts/test-arch.sh --how)"
	@[ "$(TEST_ARCH)" = i686 ] || echo "WARNING: the product, build/win32/Quendry.exe, is not tested on this machine"
	cd $(WINBUILD) && ../../scripts/with-display.sh ctest --output-on-failure

# The fuzz targets (clang, libFuzzer): FUZZ_SECONDS (60) each; `make test` runs each briefly.
FUZZ_CHECK_SECONDS ?= 5
fuzz: setup
	@scripts/fuzz.sh

fuzzcheck: setup
	@FUZZ_SECONDS=$(FUZZ_CHECK_SECONDS) scripts/fuzz.sh

test: unit fuzzcheck wintest

# Benchmarks under Wine, each figure against a baseline of the same run: the table is printed and
# written to build/bench.txt.
bench: winbuild
	@scripts/bench.sh $(WINBUILD)

run: winbuild
	@scripts/run.sh $(WINBUILD)/Quendry.exe

screenshots: winbuild
	@scripts/screenshots.sh $(WINBUILD)

clean:
	rm -rf build
