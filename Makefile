# make play     installs what playing needs, builds the game alone and runs it
# make install  installs the game under PREFIX (default /usr/local); DESTDIR is honoured
# make deb      builds build-deb/cube4_VERSION_ARCH.deb for this Debian release, for apt to
#               install and remove
# make test     installs what the tests need, builds and runs every test, then again under
#               AddressSanitizer and UndefinedBehaviorSanitizer, and the search's tests under
#               ThreadSanitizer
# make bench    times the computer's search, on one thread and on all, against the plain
#               reference on bench/positions.txt, checks that all chose alike, node for node,
#               and prints the ratios; RUNS=5 alternates five runs of each, keeping the minimum
# make windows  builds cube4.exe and cube4-bench.exe for 64-bit Windows with Debian's mingw-w64
#               and freeglut's source, and packs build-windows/cube4-VERSION-windows-x86_64.zip
# make test-windows  runs the Windows build under wine in a private X server: the console's
#               bytes, a whole game against this build's pixels, a drag, closing the window and
#               the bench node for node
# make bench-windows  make bench with the Windows bench under wine beside it
# make web      builds the browser edition with Debian's emscripten: build-web/cube4.html, one
#               file with the game inside that plays from disk or from any web server;
#               build-web/site/, the game as a web app to put on any static host, which
#               installs and plays offline; and build-web/cube4-bench.js, the bench for node
# make test-web  plays the page in Debian's chromium, headless: the dialogue, a whole game by
#               keys and by the on-screen pad against this build's console and frames, a drag,
#               the layout on phones, tablets and desktops, a whole game by taps on a phone, the
#               site offline, and Lighthouse's audit; then the dialogue, the game by keys and
#               the site in firefox-esr and WebKitGTK, each in a private X server, and the page
#               without WebGL
# make lighthouse-web  Lighthouse's mobile audit of the site, served with gzip: the median of
#               three runs of each score
# make bench-web  make bench with the browser's bench under node beside it, on one thread;
#               five alternated runs unless RUNS says otherwise
# make try-windows  make windows and make test-windows in fresh minimal chroots of Debian 12
#               and 13 (SUITE as for try-debian); needs root
# make release  makes every download of the commit checked out in dist/, the same bytes from the
#               same commit wherever it runs: the source tarball, and the Debian package, the
#               Windows zip and installer, the page and the web app built from it in a fresh
#               Debian 12; with the release notes and SHA256SUMS; needs root
# make test-release  makes the release twice, in other folders, at other times, with other
#               umasks, time zones and locales, and requires the same bytes; checks the sums
#               and builds and tests the source tarball without git; needs root
# make try-debian  tries make play and make test as a new user would, in fresh minimal chroots
#               of Debian 12 and 13 (SUITE=bookworm or SUITE=trixie for one); needs root

GAME_PACKAGES := cmake make g++ freeglut3-dev libgl1-mesa-dev libglu1-mesa-dev
# luit shows the Shift-JIS console as Japanese; it crashes without xfonts-encodings. The
# installer's --luit brings luit itself, from the package that ships it on this system.
PLAY_PACKAGES := $(GAME_PACKAGES) xfonts-encodings
TEST_PACKAGES := $(PLAY_PACKAGES) libgtest-dev libx11-dev libxtst-dev xvfb desktop-file-utils
# dpkg-shlibdeps computes the package's dependencies.
DEB_PACKAGES := $(GAME_PACKAGES) dpkg-dev
# The cross compiler, NSIS and zip; wine runs the result.
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix nsis zip
WINE_PACKAGES := wine wine64 xvfb
WEB_PACKAGES := cmake make emscripten
# The browsers that test-web drives, one for each engine: Blink, Gecko and WebKit. npm brings
# their clients, puppeteer-core for the first two and selenium-webdriver for WebKit's driver,
# and Lighthouse.
WEB_TEST_PACKAGES := chromium firefox-esr webkit2gtk-driver
# emcc's helper scripts load node modules of Debian's, which a node from elsewhere does not
# look for by itself.
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs
# Commands the tests run, and the packages that bring them elsewhere.
TEST_COMMANDS := Xvfb:"xvfb (Debian), xorg-x11-server-Xvfb (Fedora, openSUSE), xorg-server-xvfb (Arch)" \
                 desktop-file-validate:"desktop-file-utils"

PREFIX ?= /usr/local
JOBS ?= $(shell nproc)
RUNS ?= 1
SUITE ?= bookworm trixie
CTEST := ctest --output-on-failure --no-tests=error -j $(JOBS)
# Any sanitizer report stops the process that made it, so the test that ran it fails.
SANITIZER_ENV := ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
                 TSAN_OPTIONS=halt_on_error=1

.PHONY: play game install deb test windows test-windows web test-web lighthouse-web release \
        test-release try-debian try-windows build bench bench-windows bench-web web-test-tools \
        format screenshot clean

play: game
	@build/launcher/cube4

# The game and its launcher, without the tests and the benchmark.
game:
	@tools/install-packages --luit $(PLAY_PACKAGES)
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
	@cmake --build build -j $(JOBS) --target cube4

# A build folder made before, perhaps by make play as another user, is only brought up to date,
# so that sudo make install leaves its configuration alone.
install:
	@[ -f build/CMakeCache.txt ] || $(MAKE) --no-print-directory game
	@cmake --build build -j $(JOBS) --target cube4
	@DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

deb:
	@tools/install-packages $(DEB_PACKAGES)
	@tools/make-deb build-deb

# Everything: the game, the tests and the benchmark.
build:
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
	@cmake --build build -j $(JOBS)

test:
	@tools/install-packages --luit $(TEST_PACKAGES)
	@for entry in $(TEST_COMMANDS); do \
	    command -v "$${entry%%:*}" >/dev/null 2>&1 || { \
	        echo "make test needs $${entry%%:*} on the PATH; install $${entry#*:}." >&2; exit 1; }; \
	done
	@$(MAKE) --no-print-directory build
	@cd build && $(CTEST) -LE 'wine|web'
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCUBE4_SANITIZE=ON >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && $(SANITIZER_ENV) $(CTEST)
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCUBE4_THREAD_SANITIZE=ON >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@cd build-tsan && $(SANITIZER_ENV) $(CTEST)

windows:
	@tools/install-packages $(WINDOWS_PACKAGES)
	@tools/freeglut-windows build-windows/freeglut
	@cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCUBE4_BENCH=ON \
	    -DFreeGLUT_DIR=$(CURDIR)/build-windows/freeglut/install/lib/cmake/FreeGLUT >/dev/null
	@cmake --build build-windows -j $(JOBS)
	@ls build-windows/cube4-*-windows-x86_64.zip build-windows/cube4-*-windows-x86_64-setup.exe

test-windows:
	@tools/install-packages --luit $(TEST_PACKAGES) $(WINE_PACKAGES)
	@$(MAKE) --no-print-directory windows
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON \
	    -DCUBE4_WINDOWS_BUILD=$(CURDIR)/build-windows >/dev/null
	@cmake --build build -j $(JOBS)
	@cd build && ../tools/wine-session $(CTEST) -L wine

web:
	@tools/install-packages $(WEB_PACKAGES)
	@$(EMSCRIPTEN_ENV) emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
	    -DBUILD_TESTING=OFF -DCUBE4_BENCH=ON >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build build-web -j $(JOBS)
	@ls build-web/cube4.html build-web/site/index.html build-web/cube4-bench.js

# Chromium, and the npm packages of the lock file: the DevTools client and Lighthouse.
web-test-tools:
	@tools/install-packages $(WEB_TEST_PACKAGES)
	@command -v npm >/dev/null 2>&1 || tools/install-packages npm
	@[ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] || \
	    (cd tests/web && npm ci --no-audit --no-fund)

test-web:
	@tools/install-packages --luit $(TEST_PACKAGES)
	@$(MAKE) --no-print-directory web web-test-tools
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON \
	    -DCUBE4_WEB_BUILD=$(CURDIR)/build-web >/dev/null
	@cmake --build build -j $(JOBS)
	@cd build && $(CTEST) -L web

lighthouse-web:
	@$(MAKE) --no-print-directory web web-test-tools
	@node tests/web/lighthouse.mjs build-web/site 3

# Installed with the release's chroot, the packages that its builds need.
release:
	@tools/make-release dist $(DEB_PACKAGES) $(WINDOWS_PACKAGES) $(WEB_PACKAGES)

test-release:
	@tools/install-packages --luit $(TEST_PACKAGES)
	@tools/test-release $(DEB_PACKAGES) $(WINDOWS_PACKAGES) $(WEB_PACKAGES)

try-debian:
	@for suite in $(SUITE); do tools/try-debian "$$suite" || exit 1; done

try-windows:
	@for suite in $(SUITE); do tools/try-debian --windows "$$suite" || exit 1; done

bench:
	@$(MAKE) --no-print-directory build
	@bench/compare build/cube4-bench bench/positions.txt $(RUNS)

bench-windows:
	@tools/install-packages $(WINE_PACKAGES)
	@$(MAKE) --no-print-directory build windows
	@tools/wine-session bench/compare build/cube4-bench bench/positions.txt $(RUNS) \
	    "wine build-windows/cube4-bench.exe"

bench-web:
	@$(MAKE) --no-print-directory build web
	@bench/compare build/cube4-bench bench/positions.txt \
	    $(if $(filter file,$(origin RUNS)),5,$(RUNS)) "node build-web/cube4-bench.js" web one

format:
	clang-format -i $$(git ls-files '*.cpp' '*.hpp')

screenshot: build
	@tools/install-packages xvfb imagemagick
	tools/screenshot docs/screenshot.png desktop/cube4.png desktop/cube4.ico web/icons

clean:
	rm -rf build build-sanitize build-tsan build-windows build-web build-deb dist
