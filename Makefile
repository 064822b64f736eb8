# The project's commands: `make help` lists them, each with what it does. Every configuration
# builds in a folder of its own through the presets of CMakePresets.json, so that
# `cmake --workflow --preset NAME` does what the matching target does. NO_INSTALL=1 (here or
# in the environment) installs nothing: a missing command is then named with its package.

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
# Lighthouse and axe-core; Debian's npm where there is none.
WEB_TEST_PACKAGES := chromium firefox-esr webkit2gtk-driver
# Commands that the targets run, each with the packages that bring it, for need below.
GAME_COMMANDS := cmake:"cmake" c++:"g++ (Debian, Fedora, openSUSE) or gcc (Arch)"
TEST_COMMANDS := $(GAME_COMMANDS) \
    Xvfb:"xvfb (Debian), xorg-x11-server-Xvfb (Fedora, openSUSE), xorg-server-xvfb (Arch)" \
    desktop-file-validate:"desktop-file-utils"
DEB_COMMANDS := $(GAME_COMMANDS) dpkg-shlibdeps:"dpkg-dev"
WINDOWS_COMMANDS := cmake:"cmake" x86_64-w64-mingw32-g++-posix:"g++-mingw-w64-x86-64-posix" \
    zip:"zip"
WINE_COMMANDS := wine:"wine" Xvfb:"xvfb"
WEB_COMMANDS := cmake:"cmake" emcc:"emscripten" node:"nodejs"
WEB_TEST_COMMANDS := chromium:"chromium" firefox-esr:"firefox-esr" \
    WebKitWebDriver:"webkit2gtk-driver" npm:"npm"

PREFIX ?= /usr/local
JOBS ?= $(shell nproc)
RUNS ?= 1
SUITE ?= bookworm trixie

# Installs the missing Debian packages named, unless NO_INSTALL is set; then stops where a
# command named COMMAND:"PACKAGES" is not on the PATH, naming the packages that bring it.
#   $(call need,[--luit] PACKAGE...,COMMAND:"PACKAGES"...)
need = @NO_INSTALL="$(NO_INSTALL)" tools/install-packages $(1) && \
    for entry in $(2); do command -v "$${entry%%:*}" >/dev/null 2>&1 || { \
        echo "make $@ needs $${entry%%:*} on the PATH; install $${entry\#*:}." >&2; exit 1; }; done
# The configure, build and test presets of NAME: $(call configure,NAME) and so on.
configure = @cmake --preset $(1) >/dev/null
build = @cmake --build --preset $(1) -j $(JOBS)
ctest = @ctest --preset $(1) -j $(JOBS)

.PHONY: play game install deb test windows test-windows web test-web lighthouse-web release \
        test-release try-debian try-windows build bench bench-windows bench-web web-test-tools \
        format screenshot clean help

play: game ## install what playing needs, build the game alone and run it
	@build/launcher/cube4

game: ## install what the game needs and build it alone into build/
	$(call need,--luit $(PLAY_PACKAGES),$(GAME_COMMANDS))
	$(call configure,release)
	$(call build,game)

# A build folder made before, perhaps by make play as another user, is only brought up to date,
# so that sudo make install leaves its configuration alone.
install: ## install the game under PREFIX (default /usr/local) and DESTDIR
	@[ -f build/CMakeCache.txt ] || $(MAKE) --no-print-directory game
	$(call build,game)
	@DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

deb: ## build build-deb/cube4_VERSION_ARCH.deb for this Debian release
	$(call need,$(DEB_PACKAGES),$(DEB_COMMANDS))
	@tools/make-deb build-deb

build: ## build the game and the bench into build/
	$(call configure,release)
	$(call build,release)

test: ## run every test, then again under ASan and UBSan, and the search's under TSan
	$(call need,--luit $(TEST_PACKAGES),$(TEST_COMMANDS))
	$(call configure,test)
	$(call build,test)
	$(call ctest,test)
	$(call configure,sanitize)
	$(call build,sanitize)
	$(call ctest,sanitize)
	$(call configure,tsan)
	$(call build,tsan)
	$(call ctest,tsan)

windows: ## build the Windows game, bench, zip and installer into build-windows/
	$(call need,$(WINDOWS_PACKAGES),$(WINDOWS_COMMANDS))
	@tools/freeglut-windows build-windows/freeglut
	$(call configure,windows)
	$(call build,windows)
	@ls build-windows/cube4-*-windows-x86_64.zip build-windows/cube4-*-windows-x86_64-setup.exe

test-windows: windows ## run the Windows build under wine against this build
	$(call need,--luit $(TEST_PACKAGES) $(WINE_PACKAGES),$(TEST_COMMANDS) $(WINE_COMMANDS))
	$(call configure,test)
	$(call build,test)
	@tools/wine-session ctest --preset test-windows -j $(JOBS)

web: ## build the browser edition into build-web/: cube4.html, site/, cube4-bench.js
	$(call need,$(WEB_PACKAGES),$(WEB_COMMANDS))
	$(call configure,web)
	$(call build,web)
	@ls build-web/cube4.html build-web/site/index.html build-web/cube4-bench.js

web-test-tools: ## install the browsers and the npm packages that drive them
	@command -v npm >/dev/null 2>&1 || NO_INSTALL="$(NO_INSTALL)" tools/install-packages npm
	$(call need,$(WEB_TEST_PACKAGES),$(WEB_TEST_COMMANDS))
	@[ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] || \
	    (cd tests/web && npm ci --no-audit --no-fund)

test-web: web web-test-tools ## play the browser edition in chromium, Firefox and WebKit
	$(call need,--luit $(TEST_PACKAGES),$(TEST_COMMANDS))
	$(call configure,test)
	$(call build,test)
	$(call ctest,test-web)

lighthouse-web: web web-test-tools ## Lighthouse's mobile scores of the site, median of 3
	@node tests/web/lighthouse.mjs build-web/site 3

# Installed with the release's chroot, the packages that its builds need.
release: ## make every download of the commit in dist/, the same bytes anywhere (root)
	@tools/make-release dist $(DEB_PACKAGES) $(WINDOWS_PACKAGES) $(WEB_PACKAGES)

test-release: ## make the release twice, require the same bytes, and test it (root)
	$(call need,--luit $(TEST_PACKAGES),$(TEST_COMMANDS))
	@tools/test-release $(DEB_PACKAGES) $(WINDOWS_PACKAGES) $(WEB_PACKAGES)

try-debian: ## make play, make test and the package on fresh Debian 12 and 13 (root)
	@for suite in $(SUITE); do tools/try-debian "$$suite" || exit 1; done

try-windows: ## make windows and make test-windows on fresh Debian 12 and 13 (root)
	@for suite in $(SUITE); do tools/try-debian --windows "$$suite" || exit 1; done

bench: ## time the search against the plain reference; RUNS=5 alternates five runs
	$(call configure,release)
	$(call build,bench)
	@bench/compare build/cube4-bench bench/positions.txt $(RUNS)

bench-windows: windows ## make bench with the Windows bench under wine beside it
	$(call need,$(WINE_PACKAGES),$(WINE_COMMANDS))
	$(call configure,release)
	$(call build,bench)
	@tools/wine-session bench/compare build/cube4-bench bench/positions.txt $(RUNS) \
	    "wine build-windows/cube4-bench.exe"

bench-web: web ## make bench with the browser's bench under node beside it, on one thread
	$(call configure,release)
	$(call build,bench)
	@bench/compare build/cube4-bench bench/positions.txt \
	    $(if $(filter file,$(origin RUNS)),5,$(RUNS)) "node build-web/cube4-bench.js" web one

format: ## run clang-format over the sources
	clang-format -i $$(git ls-files '*.cpp' '*.hpp')

screenshot: ## remake docs/screenshot.png and the icons from a game under Xvfb
	$(call need,xvfb imagemagick,Xvfb:"xvfb" convert:"imagemagick")
	$(call configure,test)
	tools/screenshot docs/screenshot.png desktop/cube4.png desktop/cube4.ico web/icons

clean: ## remove the build folders and dist/
	rm -rf build build-test build-sanitize build-tsan build-windows build-web build-deb dist

help: ## list these targets, each with what it does
	@awk -F ':.*## ' '/^[a-z-]+:.*## / { printf "  make %-15s %s\n", $$1, $$2 }' $(MAKEFILE_LIST)
