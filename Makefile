# make        install what is missing, configure build/, build the game, levelrun and the content
# make run    the same, then start the game in a window (RUN_ARGS adds arguments)
# make test   install the suite's tools too, build everything, run the whole suite; then again under ASan + UBSan
# make tests  build everything the suite, the benchmarks and the tools need, without running it
# make bench  build everything, then the benchmarks
# make install PREFIX=DIR   install the game under DIR (bin/, share/brimble/, menu entry, icons)
# make package              a Debian package of a release build (build-release/)
# make windows              the Windows build (mingw-w64) in build-windows/
# make levelcheck  rebuild the quest levels from their recipes and play every one (report in docs/levels)
BUILD ?= build
ASAN_BUILD ?= build-asan
RELEASE_BUILD ?= build-release
WINDOWS_BUILD ?= build-windows
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
PREFIX ?= /usr/local
RUN_ARGS ?=
# What playing needs: the game, its content, and the level runner of the editor's check.
GAME_TARGETS = brimble levelrun content

.PHONY: all deps deps-test configure build run tests test test-plain test-asan bench fuzz clean levelcheck \
        install package windows collector-attack collector-scale fuzz-run

all: build

deps:
	@bash tools/install-deps.sh

deps-test:
	@bash tools/install-deps.sh --test

# Configures build/ once; later builds let CMake notice what changed itself.
configure:
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then \
	  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS); fi

build: deps
	@$(MAKE) --no-print-directory configure
	cmake --build $(BUILD) -j $(JOBS) --target $(GAME_TARGETS)

run: build
	$(BUILD)/brimble --data game $(RUN_ARGS)

# Everything: configured again so that the test tools installed since the
# first build (GoogleTest, ...) are found.
tests: deps-test
	@$(MAKE) --no-print-directory configure
	cmake $(BUILD) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

test: tests
	$(MAKE) --no-print-directory test-plain
	$(MAKE) --no-print-directory test-asan

test-plain:
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

# The sanitizer build uses the content that the plain build generated into game/.
test-asan:
	@if [ -f $(ASAN_BUILD)/CMakeCache.txt ]; then cmake $(ASAN_BUILD) >/dev/null; \
	 else cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRIMBLE_SANITIZE=ON \
	      -DBRIMBLE_CONTENT=OFF -DBRIMBLE_BENCH=OFF -DBRIMBLE_WINDOWS=OFF $(CMAKE_FLAGS); fi
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest -j $(JOBS) --output-on-failure

bench: tests
	@for b in $(BUILD)/bench_*; do [ -x "$$b" ] && echo "== $$b" && "$$b"; done; true

# libFuzzer targets (clang): make fuzz, then run build-fuzz/fuzz_<name> tests/fuzz/corpus/<name>
fuzz: deps-test
	@if [ ! -f build-fuzz/CMakeCache.txt ]; then CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMBLE_FUZZ=ON -DBRIMBLE_CONTENT=OFF -DBRIMBLE_BENCH=OFF \
	  -DBRIMBLE_TESTS=ON -DBRIMBLE_WINDOWS=OFF; fi
	cmake --build build-fuzz -j $(JOBS)

# The installed game: bin/brimble, its data in share/brimble/, the level
# runner in libexec/brimble/, the menu entry, icons, AppStream data, man page.
install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

# A release build of the game (the content comes from build/) packed by CPack.
package: build
	@if [ ! -f $(RELEASE_BUILD)/CMakeCache.txt ]; then cmake -S . -B $(RELEASE_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DBRIMBLE_CONTENT=OFF -DBRIMBLE_TESTS=OFF -DBRIMBLE_BENCH=OFF \
	  -DBRIMBLE_WINDOWS=OFF $(CMAKE_FLAGS); fi
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target brimble levelrun
	cd $(RELEASE_BUILD) && cpack -G DEB
	@ls -l $(RELEASE_BUILD)/*.deb

# Windows (mingw-w64): the floors without SDL and levelrun.exe; the whole
# game too where SDL2 for mingw is found (-DBRIMBLE_WINDOWS_PREFIX=DIR in CMAKE_FLAGS).
windows: deps-test
	@if [ ! -f $(WINDOWS_BUILD)/CMakeCache.txt ]; then cmake -S . -B $(WINDOWS_BUILD) -G Ninja \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS); fi
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The quest levels: regenerated from assets/levels/recipes.txt (the same bytes
# when nothing changed), then each played by the autoplayer on five seeds,
# relaxed and timed; the report and plot go to docs/levels/.
levelcheck:
	@$(MAKE) --no-print-directory configure
	cmake --build $(BUILD) -j $(JOBS) --target levelrun
	python3 tools/levelgen/levelgen.py build
	python3 tools/levelgen/levelcheck.py --levelrun $(BUILD)/levelrun --jobs 2

# The play-log collector under attack at full size: 200 slow or idle
# connections (from 200 addresses, then from one) and a 200 MB header flood
# while honest senders post; every honest record must be answered within 2 s
# and the collector stay under 100 MB resident.
collector-attack: tests
	nice -n 10 python3 tools/playlog-server/attack_test.py --server $(BUILD)/playlog-server --slow 200 --spread \
	  --flood-mb 200 --duration 20 --timing-goal 2
	nice -n 10 python3 tools/playlog-server/attack_test.py --server $(BUILD)/playlog-server --slow 200 \
	  --flood-mb 200 --duration 20 --timing-goal 2

# The collector on PostgreSQL with 10 million generated records: dashboard
# answer times and the CSV streamed at constant memory (RECORDS=N for another size).
RECORDS ?= 10000000
collector-scale: tests
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
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(WINDOWS_BUILD) build-fuzz
