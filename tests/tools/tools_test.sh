#!/bin/sh
# Shell-level checks of the project's own tools, run by CTest:
#   tools_test.sh installer     the package installer on a system without apt, and with
#                               NO_INSTALL
#   tools_test.sh fresh-clone   make play and make install in a fresh copy of the source tree
#   tools_test.sh readme-targets  README.md and README.ja.md name the same make targets
#   tools_test.sh release-refusals  make-release refuses uncommitted changes and a version
#                               without its section in CHANGELOG.md, before making anything
#   tools_test.sh windows-bench WINE WINDOWS_BENCH LINUX_BENCH POSITIONS
#                               the Windows bench under wine agrees with this build's, node for
#                               node
#   tools_test.sh windows-terminal WINE GAME
#                               the Windows game under wine in a UTF-8 pseudo-terminal: the
#                               question, a re-prompt and a watched game's result read as
#                               Japanese, as a player sees them
#   tools_test.sh windows-installer WINE SETUP VERSION
#                               the Windows installer under wine, in the prefix of
#                               tools/wine-session: a silent install, the game, the shortcut and
#                               the uninstall entry, then a silent uninstall that leaves nothing
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A clean start, whatever make ran this.
unset MAKEFLAGS MFLAGS MAKELEVEL DESTDIR PREFIX

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The game's words before its first answer: the question, the choices and the prompt.
printf '\220\346\216\350\202\251\214\343\216\350\202\251\202\360\202\246\202\347\202\361\202\305\202\313\n' >"$work/opening"
printf '1)\220\346\216\350            2)\214\343\216\350\n> ' >>"$work/opening"

case "$1" in
installer)
    env PATH=/nonexistent /bin/sh "$source_dir/tools/install-packages" cmake xvfb \
        >"$work/out" 2>&1 || fail "exit status $?: $(cat "$work/out")"
    grep -q "Cannot check packages" "$work/out" || fail "no message: $(cat "$work/out")"
    grep -q "cmake xvfb" "$work/out" || fail "the packages are not named: $(cat "$work/out")"
    # With NO_INSTALL, neither apt nor sudo is called, even for a package that is missing.
    mkdir "$work/bin"
    for tool in apt-get dpkg-query sudo; do
        printf '#!/bin/sh\necho %s >>"%s/called"\nexit 1\n' "$tool" "$work" >"$work/bin/$tool"
        chmod +x "$work/bin/$tool"
    done
    NO_INSTALL=1 PATH="$work/bin:$PATH" /bin/sh "$source_dir/tools/install-packages" --luit cmake ||
        fail "NO_INSTALL: exit status $?"
    [ ! -e "$work/called" ] || fail "NO_INSTALL called $(cat "$work/called")"
    ;;
fresh-clone)
    # What a clone would hold, uncommitted changes included: no build folder, nothing ignored.
    mkdir "$work/clone"
    if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        (cd "$source_dir" && git ls-files --cached --others --exclude-standard |
            while IFS= read -r file; do if [ -e "$file" ]; then printf '%s\n' "$file"; fi; done |
            tar -cf - -T -) | tar -xf - -C "$work/clone"
    else
        (cd "$source_dir" && tar -cf - --exclude='./build*' .) | tar -xf - -C "$work/clone"
    fi
    cd "$work/clone"

    make play </dev/null >"$work/play.out" 2>"$work/play.err" ||
        fail "make play: exit status $?: $(cat "$work/play.err")"
    tail -c "$(wc -c <"$work/opening")" "$work/play.out" | cmp -s - "$work/opening" ||
        fail "make play did not end on the question: $(tail -n 3 "$work/play.out")"
    [ -x build/cube4 ] || fail "make play built no game"
    extra=$(find build -type f \( -name '*_tests' -o -name 'cube4-bench' \))
    if [ -n "$extra" ] || [ -d build/tests ]; then fail "make play built the tests: $extra"; fi

    make install DESTDIR="$work/root" PREFIX=/opt/cube4 >"$work/install.out" 2>&1 ||
        fail "make install: $(cat "$work/install.out")"
    (cd "$work/root" && find . ! -type d | sort) >"$work/installed"
    printf '%s\n' ./opt/cube4/bin/cube4 ./opt/cube4/libexec/cube4/cube4 \
        ./opt/cube4/share/applications/cube4.desktop \
        ./opt/cube4/share/icons/hicolor/256x256/apps/cube4.png \
        ./opt/cube4/share/man/ja/man6/cube4.6 ./opt/cube4/share/man/man6/cube4.6 >"$work/expected"
    diff "$work/expected" "$work/installed" >&2 || fail "the installed files differ"

    "$work/root/opt/cube4/bin/cube4" </dev/null >"$work/game.out" || fail "launcher: status $?"
    cmp "$work/opening" "$work/game.out" >&2 || fail "the installed game did not ask the question"
    desktop-file-validate "$work/root/opt/cube4/share/applications/cube4.desktop" >&2 ||
        fail "the desktop entry does not validate"
    ;;
readme-targets)
    for readme in README.md README.ja.md; do
        # Commands as written: in a code block, or in backquotes.
        grep -o '^    \(sudo \)*make [a-z][a-z-]*\|`\(sudo \)*make [a-z][a-z-]*' "$source_dir/$readme" |
            sed 's/.*make /make /' | sort -u >"$work/$readme.targets"
    done
    [ -s "$work/README.md.targets" ] || fail "README.md names no make target"
    diff "$work/README.md.targets" "$work/README.ja.md.targets" >&2 ||
        fail "README.md and README.ja.md name different make targets"
    ;;
release-refusals)
    repo="$work/repo"
    mkdir -p "$repo/tools"
    cp "$source_dir/tools/make-release" "$source_dir/tools/changelog-section" "$repo/tools/"
    printf 'project(cube4 VERSION 9.9.9 LANGUAGES CXX)\n' >"$repo/CMakeLists.txt"
    printf '# Changelog\n\n## [1.0.0] - 2026-12-10\n\n- The game.\n' >"$repo/CHANGELOG.md"
    git -C "$repo" init -q
    git -C "$repo" add .
    git -C "$repo" -c user.name=cube4 -c user.email=cube4@cube4.example commit -qm 9.9.9
    refused() {
        ! "$repo/tools/make-release" "$work/dist" >"$work/out" 2>&1 || fail "released $1"
        grep -qF "$2" "$work/out" || fail "no reason given $1: $(cat "$work/out")"
        [ ! -e "$work/dist" ] || fail "$1: made $work/dist"
    }
    refused "a version without its section" 'no section "## [9.9.9]"'
    sed -i 's/9\.9\.9/1.0.0/' "$repo/CMakeLists.txt"
    refused "uncommitted changes" "uncommitted changes"
    ;;
windows-bench)
    "$2" "$3" "$5" >"$work/windows" || fail "the Windows bench: status $?"
    "$4" "$5" >"$work/linux" || fail "the bench: status $?"
    for build in windows linux; do
        sed -e 's/ ms=[0-9.]*//' -e 's/ nodes_per_second=[0-9]*//' -e 's/\r$//' \
            "$work/$build" >"$work/$build.kept"
    done
    [ "$(wc -l <"$work/linux.kept")" -gt 1 ] || fail "the bench searched nothing"
    diff "$work/linux.kept" "$work/windows.kept" >&2 || fail "choices or node counts differ"
    ;;
windows-terminal)
    # A display for the watched game's window.
    exec 3>"$work/display"
    Xvfb -displayfd 3 -nolisten tcp </dev/null >/dev/null 2>&1 &
    xvfb=$!
    exec 3>&-
    terminal=""
    trap 'kill $xvfb $terminal 2>/dev/null || true; rm -rf "$work"' EXIT
    tries=0
    until [ -s "$work/display" ]; do
        tries=$((tries + 1))
        [ $tries -le 100 ] || fail "Xvfb did not start"
        sleep 0.1
    done
    # script gives wine's console a terminal for both streams; the keys come through a pipe.
    mkfifo "$work/keys"
    DISPLAY=":$(cat "$work/display")" LC_ALL=C.UTF-8 script -qec "'$2' '$3'" /dev/null \
        <"$work/keys" >"$work/terminal" 2>&1 &
    terminal=$!
    exec 4>"$work/keys"
    # Waits up to a minute for the terminal to show text that matches the pattern.
    shows() {
        tries=0
        until grep -qE "$1" "$work/terminal"; do
            tries=$((tries + 1))
            [ $tries -le 600 ] || fail "the terminal shows no $2: $(od -c "$work/terminal" | tail)"
            sleep 0.1
        done
    }
    shows '先手か後手かをえらんでね' "question"
    shows '1\)先手            2\)後手' "choices"
    printf 'x\r' >&4
    shows 'ちゃんと選べ！' "re-prompt"
    printf '3\r' >&4
    shows '(先手の勝ち|後手の勝ち|引き分け)！' "result of the watched game"
    exec 4>&-
    ;;
windows-installer)
    wine=$2
    drive="$WINEPREFIX/drive_c"
    shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/cube4.lnk"
    game='C:\Program Files\cube4\cube4.exe'
    key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\cube4'
    # The drive's contents but for the temporary folder, where the uninstaller leaves the copy
    # of itself that ran, marked for removal at the next reboot as on Windows.
    listing() { (cd "$drive" && find . -path './users/*/Temp' -prune -o -print | sort); }
    listing >"$work/before"

    "$wine" "$3" /S || fail "the installer: status $?"
    [ -f "$drive/Program Files/cube4/cube4.exe" ] || fail "no cube4.exe in Program Files"
    "$wine" "$game" </dev/null >"$work/game.out" || fail "the installed game: status $?"
    sed '$!s/$/\r/' "$work/opening" | cmp - "$work/game.out" >&2 ||
        fail "the installed game did not ask the question"
    grep -qaF "$game" "$shortcut" || fail "no Start-menu shortcut to $game"
    "$wine" reg query "$key" /v DisplayVersion >"$work/entry" || fail "no uninstall entry"
    grep -q "REG_SZ *$4" "$work/entry" || fail "the uninstall entry's version: $(cat "$work/entry")"

    # The uninstaller runs on from a copy of itself: wait until the drive is as it was.
    "$wine" 'C:\Program Files\cube4\uninstall.exe' /S || fail "the uninstaller: status $?"
    tries=0
    until listing >"$work/after" && cmp -s "$work/before" "$work/after"; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || { diff "$work/before" "$work/after" >&2; fail "the uninstall left files"; }
        sleep 0.1
    done
    ! "$wine" reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry is still there"
    ;;
*)
    fail "unknown check $1"
    ;;
esac
echo "passed: $1"
