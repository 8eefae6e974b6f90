#!/usr/bin/env bash
# The manual pages render without a warning at 80 columns, carry the programs' version, and describe
# every option the scene program's usage lists.
#   tests/packaging/man_pages_test.sh KOLVANE KOLVANE_SETTINGS PAGES_FOLDER
set -euo pipefail
program=$1 settings=$2 pages=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
export MANWIDTH=80 MANPAGER=cat PAGER=cat LC_ALL=C.UTF-8

version=$("$program" --version | cut -d' ' -f2)
for page in kolvane.6 kolvane-settings.6; do
  warnings=$(man --warnings -l "$pages/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
  [ "$(sed -n 's/^\.TH [^ ]* 6 "[^"]*" "Kolvane \([^"]*\)".*/\1/p' "$pages/$page")" = "$version" ] ||
    fail "$page does not carry the version $version"
done
echo "ok - both pages render without warnings and carry the version"

text=$(man -l "$pages/kolvane.6" | col -b)
for section in NAME SYNOPSIS DESCRIPTION MODES OPTIONS FILES ENVIRONMENT "EXIT STATUS" SECURITY; do
  grep -q "^$section\$" <<<"$text" || fail "kolvane.6 has no $section section"
done
options=$("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
for option in $options; do
  grep -qF -- "$option" <<<"$text" || fail "kolvane.6 does not describe $option"
done
for switch in /S /P /C /A; do
  grep -qF -- "$switch" <<<"$text" || fail "kolvane.6 does not describe $switch"
done
for file in "Kolvane Captions.dat" "Kolvane Audio Files.dat" "Kolvane Image.bmp" settings.ini \
  /usr/libexec/xscreensaver/kolvane /usr/share/xscreensaver/config/kolvane.xml XSCREENSAVER_WINDOW; do
  grep -qF -- "$file" <<<"$text" || fail "kolvane.6 does not name $file"
done
echo "ok - kolvane.6 describes $(wc -w <<<"$options") options, the switches, the files and the environment"

# The settings program answers --version and refuses what it does not take, as the scene program does.
[ "$("$settings" --version)" = "kolvane-settings $version" ] || fail "kolvane-settings --version"
err=$("$settings" --bogus 2>&1 >/dev/null) && code=0 || code=$?
first=$(head -1 <<<"$err")
[ "$code" = 2 ] && [ "$first" = 'kolvane-settings: Unrecognised option "--bogus"' ] ||
  fail "kolvane-settings --bogus exited $code saying $first"
echo "ok - kolvane-settings --version and --bogus"
echo "man page checks passed"
