#!/usr/bin/env bash
# The installation of a built Linux folder: its install manifest lists every file, and its Debian package
# passes lintian without errors, holds the files where Debian's XScreenSaver and man look and no build path,
# and (as root, when kolvane is not installed already) installs, runs from /usr/bin and purges, leaving
# the machine's files as they were.
#   tests/packaging/deb_test.sh BUILD_FOLDER
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
build=$(cd "$1" && pwd)
work=$(mktemp -d)
installed_here=0
cleanup() {
  [ "$installed_here" = 1 ] && dpkg --purge kolvane >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok - $*"; }

version=$("$build/kolvane" --version | sed -n 's/^kolvane //p')

# An install into a folder of one's own: install_manifest.txt lists every file and link it made (an
# uninstall removes what it lists), and the install says where Debian's XScreenSaver would look instead.
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log"
find "$work/prefix" \( -type f -o -type l \) | sort >"$work/made"
sort "$build/install_manifest.txt" >"$work/listed"
diff "$work/made" "$work/listed" >"$work/unlisted" ||
  { cat "$work/unlisted"; fail "install_manifest.txt differs from the files installed"; }
grep -q "install with --prefix /usr" "$work/install.log" ||
  fail "an install outside /usr does not say where XScreenSaver looks"
ok "install_manifest.txt lists all $(wc -l <"$work/made") files and links installed"
deb=$(make_deb "$build" "$work") || fail "cpack could not make the package"
[ "$(basename "$deb")" = "kolvane_${version}_amd64.deb" ] || fail "the package is named $(basename "$deb")"
ok "$(basename "$deb"), $(stat -c %s "$deb") bytes"

# lintian: no errors; its warnings are shown.
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || { cat "$work/lintian"; fail "lintian found errors"; }
sed 's/^/   lintian: /' "$work/lintian"
ok "lintian: $(grep -c '^E:' "$work/lintian" || true) errors, $(grep -c '^W:' "$work/lintian" || true) warnings"

# The control fields.
depends=$(dpkg-deb -f "$deb" Depends)
for want in "timgm6mb-soundfont | fluid-soundfont-gm" "fonts-liberation" "libsdl2-2.0-0" "libsdl2-mixer-2.0-0" \
  "libsdl2-ttf-2.0-0" "libgtk-3-0" "libc6"; do
  grep -qF "$want" <<<"$depends" || fail "Depends lacks $want: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not the program's $version"
ok "Depends: $depends"

# Where everything lies.
dpkg-deb --contents "$deb" | awk '{ print $6 ($7 == "->" ? " -> " $8 : "") }' >"$work/contents"
for path in ./usr/bin/kolvane ./usr/bin/kolvane-settings "./usr/libexec/xscreensaver/kolvane -> ../../bin/kolvane" \
  ./usr/share/xscreensaver/config/kolvane.xml ./usr/share/kolvane/settings.ini ./usr/share/kolvane/sprite.bmp \
  ./usr/share/kolvane/mask.bmp ./usr/share/kolvane/preview.bmp ./usr/share/kolvane/backgrounds/bg9.bmp \
  ./usr/share/kolvane/sounds/orvel9.wav ./usr/share/kolvane/sounds/title.wav \
  ./usr/share/kolvane/music/nebula-drift.mid \
  ./usr/share/man/man6/kolvane.6.gz ./usr/share/man/man6/kolvane-settings.6.gz \
  ./usr/share/applications/kolvane-settings.desktop ./usr/share/doc/kolvane/copyright \
  ./usr/share/doc/kolvane/changelog.gz; do
  grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
done
ok "dpkg-deb --contents lists the programs, the hack's link, its option file, pictures, sounds, music, manual pages"

# Nothing under /usr/share names the folders the package was built in.
mkdir "$work/root"
dpkg-deb -x "$deb" "$work/root"
grep -qx 'install_path=/usr/share/kolvane/sounds/' "$work/root/usr/share/kolvane/settings.ini" ||
  fail "settings.ini says: $(cat "$work/root/usr/share/kolvane/settings.ini")"
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
patterns=(-e "$build" -e "$source_dir" -e "$work" -e _CPack_Packages)
! grep -rlF "${patterns[@]}" "$work/root/usr/share" || fail "these files under /usr/share hold a build path"
while IFS= read -r -d '' file; do
  ! zcat "$file" | grep -F "${patterns[@]}" >/dev/null || fail "${file#"$work/root"} holds a build path"
done < <(find "$work/root/usr/share" -name '*.gz' -print0)
ok "no build path inside /usr/share"

# Installed for real, then purged: the machine's files are as they were.
if [ "$(id -u)" != 0 ]; then
  echo "skip - installing needs root"
  exit 0
fi
if dpkg-query -W -f='${Status}' kolvane 2>/dev/null | grep -q "install ok installed"; then
  echo "skip - kolvane is installed on this machine already; it is left alone"
  exit 0
fi
snapshot() {
  find /usr/bin /usr/libexec /usr/share/kolvane /usr/share/xscreensaver /usr/share/man/man6 /usr/share/applications \
    /usr/share/doc/kolvane /var/lib/dpkg/info -maxdepth 3 2>/dev/null | sort || true
  dpkg-query -W -f='${Package} ${Status}\n' | sort
}
snapshot >"$work/before"
installed_here=1
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i failed"; }
[ "$(command -v kolvane)" = /usr/bin/kolvane ] || fail "kolvane is not found as /usr/bin/kolvane"
kolvane --help | grep -q "^usage: kolvane" || fail "/usr/bin/kolvane --help printed no usage"
[ "$(/usr/libexec/xscreensaver/kolvane --version)" = "kolvane $version" ] || fail "the hack's link does not run kolvane"
set +e
kolvane --bogus >/dev/null 2>&1; code=$?
set -e
[ "$code" = 2 ] || fail "/usr/bin/kolvane --bogus exited $code"
[ "$(man -w kolvane)" = /usr/share/man/man6/kolvane.6.gz ] || fail "man finds $(man -w kolvane 2>&1)"
# The first run of the installed program finds its sounds through the installed settings.ini.
home=$work/home
mkdir -p "$home"
set +e
env -u DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" kolvane /S 2>/dev/null; code=$?
set -e
[ "$code" = 4 ] || fail "the installed kolvane /S without a display exited $code"
head -1 "$home/data/kolvane/Kolvane Audio Files.dat" | tr -d '\r' | grep -qx /usr/share/kolvane/sounds/orvel1.wav ||
  fail "the first run's audio list names $(head -1 "$home/data/kolvane/Kolvane Audio Files.dat")"
ok "installed: kolvane --help from /usr/bin, the hack's link, man kolvane, the sounds found by the first run"

dpkg -r kolvane >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -r failed"; }
[ ! -e /usr/bin/kolvane ] && [ ! -L /usr/libexec/xscreensaver/kolvane ] && [ ! -e /usr/share/kolvane ] ||
  fail "dpkg -r left files behind"
dpkg --purge kolvane >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg --purge failed"; }
installed_here=0
snapshot >"$work/after"
diff "$work/before" "$work/after" >"$work/changes" ||
  { cat "$work/changes"; fail "the machine differs after the purge"; }
ok "dpkg -r and --purge leave the machine's files and package list as they were"
echo "debian package checks passed"
