# make play   installs what is missing, builds and runs the game
# make test   installs what is missing, builds and runs every test, then again under
#             AddressSanitizer and UndefinedBehaviorSanitizer, and the search's tests under
#             ThreadSanitizer
# make bench  times the computer's search, on one thread and on all, against the plain reference
#             on bench/positions.txt, checks that all chose alike, node for node, and prints
#             the ratios; RUNS=5 alternates five runs of each and keeps the minimum

BUILD_PACKAGES := cmake make g++ libgtest-dev freeglut3-dev libgl1-mesa-dev libglu1-mesa-dev \
                  libx11-dev libxtst-dev
PLAY_PACKAGES := $(BUILD_PACKAGES) x11-utils xfonts-encodings
TEST_PACKAGES := $(BUILD_PACKAGES) xvfb

JOBS ?= $(shell nproc)
RUNS ?= 1
CTEST := ctest --output-on-failure --no-tests=error -j $(JOBS)
# Any sanitizer report stops the process that made it, so the test that ran it fails.
SANITIZER_ENV := ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
                 TSAN_OPTIONS=halt_on_error=1

.PHONY: play test build bench format screenshot clean

play:
	@tools/install-packages $(PLAY_PACKAGES)
	@$(MAKE) --no-print-directory build
	@tools/play build/cube4

build:
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build -j $(JOBS)

test:
	@tools/install-packages $(TEST_PACKAGES)
	@$(MAKE) --no-print-directory build
	@cd build && $(CTEST)
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCUBE4_SANITIZE=ON >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && $(SANITIZER_ENV) $(CTEST)
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCUBE4_THREAD_SANITIZE=ON >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@cd build-tsan && $(SANITIZER_ENV) $(CTEST)

bench:
	@$(MAKE) --no-print-directory build
	@bench/compare build/cube4-bench bench/positions.txt $(RUNS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.hpp')

screenshot: build
	@tools/install-packages xvfb imagemagick
	tools/screenshot docs/screenshot.png

clean:
	rm -rf build build-sanitize build-tsan
