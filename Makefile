# Everything starts here; see README.md.
#   make run    build the 64-bit program and start it under Wine
#   make test   every test: native (with sanitizers), Windows under Wine, and the 32-bit build
#   make bench  the benchmark report
#   make dist   the portable zip packages
#   make fuzz   the fuzz targets, FUZZ_SECONDS each (FUZZ_MERGE=1 keeps new inputs in fuzz/corpus)
BUILD ?= build
CMAKE_WIN64 = -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
CMAKE_WIN32 = -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake

.PHONY: run test bench dist deps native win64 win32 clean

deps:
	@bash scripts/deps.sh

native: deps
	cmake -S . -B $(BUILD)/native -G Ninja >/dev/null
	cmake --build $(BUILD)/native

win64: deps
	cmake -S . -B $(BUILD)/win64 -G Ninja $(CMAKE_WIN64) >/dev/null
	cmake --build $(BUILD)/win64

# The 32-bit build runs its tests in a WoW64 prefix of its own (build/win32/wineprefix).
win32: deps
	cmake -S . -B $(BUILD)/win32 -G Ninja $(CMAKE_WIN32) >/dev/null
	cmake --build $(BUILD)/win32

test: native win64 win32 dist
	ctest --test-dir $(BUILD)/native --output-on-failure
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=30
	bash scripts/wine-env.sh $(BUILD)/win64 ctest --test-dir $(BUILD)/win64 --output-on-failure
	bash scripts/wine-env.sh $(BUILD)/win32 ctest --test-dir $(BUILD)/win32 --output-on-failure

# The portable packages, both architectures: $(BUILD)/dist/Kelvane-<version>-<arch>.zip
dist: win64 win32
	bash scripts/dist.sh $(BUILD)

# The libFuzzer targets (clang, apart from the g++ builds), each run for a bounded time.
FUZZ_SECONDS ?= 60
FUZZ_MERGE ?= 0
.PHONY: fuzz
fuzz: deps
	cmake -S fuzz -B $(BUILD)/fuzz -G Ninja >/dev/null
	cmake --build $(BUILD)/fuzz
	bash fuzz/run.sh $(BUILD)/fuzz $(FUZZ_SECONDS) $(BUILD)/fuzz-report.txt $(FUZZ_MERGE)

run: win64
	bash scripts/run.sh $(BUILD)

bench: dist
	bash scripts/wine-env.sh $(BUILD)/win64 bash scripts/bench.sh $(BUILD)/win64 $(BUILD)/bench-report.txt

clean:
	rm -rf $(BUILD)
