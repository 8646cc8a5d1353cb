# make        install what is missing, configure build/, build, generate the game data
# make run    the same, then start the game in a window
# make test   the same, then the whole suite; then the suite again under ASan + UBSan
# make bench  the same, then the benchmarks
# make levelcheck  rebuild the quest levels from their recipes and play every one (report in docs/levels)
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps build run test test-plain test-asan bench fuzz clean levelcheck

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	@if [ -f $(BUILD)/CMakeCache.txt ]; then cmake $(BUILD) >/dev/null; \
	 else cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS); fi
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/brimble --data game

test: build
	$(MAKE) --no-print-directory test-plain
	$(MAKE) --no-print-directory test-asan

test-plain:
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

# The sanitizer build uses the content that the plain build generated into game/.
test-asan:
	@if [ -f $(ASAN_BUILD)/CMakeCache.txt ]; then cmake $(ASAN_BUILD) >/dev/null; \
	 else cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRIMBLE_SANITIZE=ON \
	      -DBRIMBLE_CONTENT=OFF -DBRIMBLE_BENCH=OFF $(CMAKE_FLAGS); fi
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest -j $(JOBS) --output-on-failure

bench: build
	@for b in $(BUILD)/bench_*; do [ -x "$$b" ] && echo "== $$b" && "$$b"; done; true

# libFuzzer targets (clang): make fuzz, then run build-fuzz/fuzz_<name> tests/fuzz/corpus/<name>
fuzz: deps
	@if [ ! -f build-fuzz/CMakeCache.txt ]; then CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMBLE_FUZZ=ON -DBRIMBLE_CONTENT=OFF -DBRIMBLE_BENCH=OFF \
	  -DBRIMBLE_TESTS=ON; fi
	cmake --build build-fuzz -j $(JOBS)

# The quest levels: regenerated from assets/levels/recipes.txt (the same bytes
# when nothing changed), then each played by the autoplayer on five seeds,
# relaxed and timed; the report and plot go to docs/levels/.
levelcheck:
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS); fi
	cmake --build $(BUILD) -j $(JOBS) --target levelrun
	python3 tools/levelgen/levelgen.py build
	python3 tools/levelgen/levelcheck.py --levelrun $(BUILD)/levelrun --jobs 2

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
