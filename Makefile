# make        install what is missing, configure build/, build, generate the game data
# make run    the same, then start the game in a window
# make test   the same, then the whole suite; then the suite again under ASan + UBSan
# make bench  the same, then the benchmarks
# make levelcheck  rebuild the quest levels from their recipes and play every one (report in docs/levels)
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps build run test test-plain test-asan bench fuzz fuzz-run clean levelcheck collector-attack collector-scale

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

# The play-log collector under attack at full size: 200 slow or idle
# connections (from 200 addresses, then from one) and a 200 MB header flood
# while honest senders post; every honest record must be answered within 2 s
# and the collector stay under 100 MB resident.
collector-attack: build
	nice -n 10 python3 tools/playlog-server/attack_test.py --server $(BUILD)/playlog-server --slow 200 --spread \
	  --flood-mb 200 --duration 20 --timing-goal 2
	nice -n 10 python3 tools/playlog-server/attack_test.py --server $(BUILD)/playlog-server --slow 200 \
	  --flood-mb 200 --duration 20 --timing-goal 2

# The collector on PostgreSQL with 10 million generated records: dashboard
# answer times and the CSV streamed at constant memory (RECORDS=N for another size).
RECORDS ?= 10000000
collector-scale: build
	nice -n 10 bash tools/playlog-server/postgres_scale.sh scale $(RECORDS) $(BUILD)/playlog-server \
	  $(BUILD)/playlog-load $(BUILD)/playlog-generate $(BUILD)/playlog-scale

# Each fuzz target for FUZZ_SECONDS (default 120) from its seed corpus; new
# inputs go to build-fuzz/corpus/<name>, crashes to build-fuzz/crashes/.
FUZZ_SECONDS ?= 120
fuzz-run: fuzz
	@mkdir -p build-fuzz/crashes
	@for f in build-fuzz/fuzz_*; do n=$${f#build-fuzz/fuzz_}; mkdir -p build-fuzz/corpus/$$n; \
	  echo "== $$n"; nice -n 10 $$f -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=build-fuzz/crashes/$$n- \
	  build-fuzz/corpus/$$n tests/fuzz/corpus/$$n 2>&1 | grep -E "^#[0-9]+ *DONE|ERROR|SUMMARY" ; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
