# Shared by scripts/run and scripts/test: Debian packages, the Wine prefix and the test display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages_build="cmake ninja-build g++ pkg-config libgtest-dev googletest libbenchmark-dev libstb-dev \
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfluidsynth-dev fonts-liberation libx11-dev libcairo2-dev \
  libxrandr-dev libxfixes-dev libgtk-3-dev timgm6mb-soundfont locales python3 libstb-dev"
packages_windows="mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 nsis"
# Two monitors need a real X server with the dummy video driver (xrandr places them).
packages_display="xvfb xauth xdotool imagemagick x11-utils xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils"
# libFuzzer comes with clang's runtime libraries.
packages_fuzz="clang libclang-rt-dev"
# The Debian package: CPack's DEB generator reads library dependencies with dpkg-shlibdeps; lintian checks
# the package; man renders the manual pages.
packages_package="dpkg-dev lintian man-db groff-base"

# Installs the Debian packages that are missing (as root, or through sudo).
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# The locales the clock tests read designators from (Japanese has its own, German none), made once.
ensure_test_locales() {
  local have sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  have=$(locale -a 2>/dev/null || true)
  for l in ja_JP de_DE; do
    grep -qx "$l.utf8" <<<"$have" && continue
    echo "== generating the locale $l.UTF-8"
    $sudo localedef -i "$l" -f UTF-8 "$l.UTF-8" || echo "== no $l.UTF-8: the clock tests that need it are skipped"
  done
}

# A Wine prefix of our own, initialised once, with its server kept running for fast starts.
setup_wine() {
  export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== creating the Wine prefix (once)"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
  fi
  wineserver -p </dev/null >/dev/null 2>&1 || true
  # Without a window manager every window close would wait two seconds.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  # That start, without a display, left a desktop process that cannot draw: every window of a later
  # program would fail with it ("no driver could be loaded"). The first program inside the virtual
  # display starts the desktop anew; the services keep running.
  local p
  for p in $(pgrep -f 'explorer.exe /desktop' || true); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && kill "$p" 2>/dev/null
  done
  return 0
}

stop_wine() { wineserver -k >/dev/null 2>&1 || true; }

# Makes the Debian package from a configured and built Linux build folder $1 into folder $2 (CPack's
# staging folder goes into $2/.cpack and is removed); prints the package's path.
make_deb() {
  local build=$1 out=$2 log deb
  mkdir -p "$out/.cpack"
  log=$out/.cpack/cpack.log
  if ! (cd "$build" && cpack -G DEB -B "$out/.cpack") >"$log" 2>&1; then
    cat "$log" >&2
    return 1
  fi
  deb=$(ls "$out"/.cpack/kolvane_*_amd64.deb)
  mv -f "$deb" "$out/"
  rm -rf "$out/.cpack"
  echo "$out/$(basename "$deb")"
}
