# Shared by the scripts: installing what is missing, building, and Wine.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD="$ROOT/build"

say() { printf '%s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Debian packages the build and the tests need.
PACKAGES=(cmake make g++ googletest libgtest-dev
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          wine wine64 wine32:i386 fonts-wine xvfb xauth x11-utils imagemagick python3
          fp-utils nsis p7zip-full zip)

# Installs the packages that are missing, quietly, and only when some are.
install_missing() {
    local missing=()
    local package
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    [ "$(id -u)" -eq 0 ] || die "missing packages (run as root to install): ${missing[*]}"
    say "Installing: ${missing[*]}"
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
        die "apt-get could not install: ${missing[*]}"
}

# Configures a preset when it is new or its presets or toolchain files changed since,
# and builds it; quiet when nothing changed.
build_preset() {
    local preset=$1
    shift
    local cache="$BUILD/$preset/CMakeCache.txt"
    if [ ! -f "$cache" ] ||
        [ -n "$(find "$ROOT/CMakePresets.json" "$ROOT"/cmake/mingw-*.cmake -newer "$cache" 2>/dev/null)" ]; then
        cmake --preset "$preset" -DSCRIBANE_WERROR=ON "$@" >"$BUILD/configure-$preset.log" 2>&1 ||
            { cat "$BUILD/configure-$preset.log"; die "configuring $preset failed"; }
        touch "$cache"
    fi
    local log="$BUILD/build-$preset.log"
    if ! cmake --build --preset "$preset" -j "$(nproc)" >"$log" 2>&1; then
        grep -E 'error|Error|warning' "$log" | head -n 60
        die "building $preset failed (full log: $log)"
    fi
    grep -q 'Building\|Linking' "$log" && say "Built $preset."
    return 0
}

# Whether this machine can run 32-bit Wine. Kernels without 32-bit process support
# cannot; the Wine tests then run on the 64-bit build of the same sources.
wine32_runs() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The preset whose Windows programs this machine's Wine runs.
wine_preset() {
    if wine32_runs; then echo mingw; else echo mingw64; fi
}

# Starts Xvfb when there is no display, and remembers its process to end it later.
XVFB_PID=""
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local number
    for number in $(seq 91 120); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
        # -noreset: the server stays as it is when its last client goes, between two programs.
        Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        XVFB_PID=$!
        local tries
        for tries in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$number" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        # Another server may have taken the number meanwhile; then ours has ended.
        if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$number" ]; then
            export DISPLAY=":$number"
            return 0
        fi
        stop_display
    done
    die "no free display number for Xvfb"
}

stop_display() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
    return 0
}

# Wine, quiet and offline: no debug output, no Mono or Gecko install prompts.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

wine_loader() {
    if wine32_runs; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}

# Makes a Wine prefix at $1 when it does not exist yet. Without a window manager Wine
# waits about two seconds whenever a window hides; unmanaged windows avoid that.
make_wine_prefix() {
    local prefix=$1
    if [ ! -f "$prefix/system.reg" ]; then
        mkdir -p "$prefix"
        WINEPREFIX=$prefix WINELOADER=$(wine_loader) "$(wine_loader)" wineboot -i >/dev/null 2>&1 || true
        WINEPREFIX=$prefix "$(wine_loader)" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        WINEPREFIX=$prefix wineserver -w
    fi
    # The title bar's buttons are glyphs of Marlett, which Debian's fonts-wine installs
    # where this Wine does not look for it: the prefix's own font folder it does.
    local fonts="$prefix/drive_c/windows/Fonts"
    if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    return 0
}

# Stops the wineserver of prefix $1 only.
stop_wineserver() {
    WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
}
