#!/usr/bin/env bash
# Starts the Linux program with each switch in a private home and checks what it leaves behind.
set -euo pipefail
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
unset DISPLAY
fail() { echo "FAIL: $*" >&2; exit 1; }

# No install folder: the message on standard error, exit 1, nothing written.
set +e
"$program" /S 2>"$home/err"; code=$?
set -e
[ "$code" = 1 ] || fail "missing install folder exited $code"
grep -q "<Installation Path Not Found!>" "$home/err" || fail "no install-folder message"
[ ! -e "$home/data/kolvane/Kolvane Captions.dat" ] || fail "lists written without an install folder"

mkdir -p "$home/config/kolvane"
printf '[Config]\ninstall_path=/opt/kolvane/sounds\n' >"$home/config/kolvane/settings.ini"

# What the program does not take is refused as a hack refuses it: one line naming it, the usage, code 2,
# and nothing written.
for words in "--bogus" "/X" "-s" "/P abc" "/S extra" "--frame-rate=20 stray"; do
  set +e
  # shellcheck disable=SC2086
  "$program" $words >"$home/out" 2>"$home/err"; code=$?
  set -e
  [ "$code" = 2 ] || fail "'$words' exited $code"
  first=$(head -1 "$home/err")
  case "$first" in
    "kolvane: Unrecognised option \""*"\"" | "kolvane: /P wants a window number, not \"abc\"") ;;
    *) fail "'$words' said: $first" ;;
  esac
  sed -n 2p "$home/err" | grep -q "^usage: kolvane " || fail "'$words' printed no usage"
  [ ! -s "$home/out" ] || fail "'$words' printed on standard output"
done
[ ! -e "$home/data/kolvane/Kolvane Captions.dat" ] || fail "a refused command line wrote the lists"
version=$("$program" --version) || fail "--version failed"
[[ "$version" =~ ^kolvane\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
"$program" --help >"$home/out" || fail "--help failed"
grep -q -- "--window-id" "$home/out" || fail "--help does not list the options"

# The first run writes both lists with CR LF ends and marks itself done; without a display the
# scene itself cannot open, which the program says before it ends.
set +e
"$program" /s 2>"$home/err"; code=$?
set -e
[ "$code" = 4 ] || fail "/s without a display exited $code"
grep -q "no X display" "$home/err" || fail "/s did not say it needs a display"
captions=$(od -c "$home/data/kolvane/Kolvane Captions.dat" | head -3)
printf 'Welcome To Kolvane Screen Saver\r\nYou can adjust the frame rate and how often to launch an object\r\n' |
  cmp - "$home/data/kolvane/Kolvane Captions.dat" || fail "caption defaults differ: $captions"
expected=""
for i in 1 2 3 4 5 6 7 8 9; do expected+="/opt/kolvane/sounds/orvel$i.wav\r\n"; done
printf "$expected" | cmp - "$home/data/kolvane/Kolvane Audio Files.dat" || fail "audio defaults differ"
grep -q '^run_once=1$' "$home/config/kolvane/settings.ini" || fail "run_once not stored"
grep -q '^install_path=/opt/kolvane/sounds$' "$home/config/kolvane/settings.ini" || fail "install_path changed"

# A later run leaves the user's lists alone.
printf 'Mine\r\n' >"$home/data/kolvane/Kolvane Captions.dat"
"$program" /p 0 2>/dev/null || true
"$program" /s 2>/dev/null || true
[ "$(cat "$home/data/kolvane/Kolvane Captions.dat")" = $'Mine\r' ] || fail "second run overwrote the captions"
# Settings on the command line must be usable, or the program says how they go.
set +e
"$program" --frame-rate 2 2>"$home/err"; code=$?
set -e
[ "$code" = 2 ] || fail "a bad --frame-rate exited $code"
grep -q "5 to 200" "$home/err" || fail "no usage for a bad --frame-rate"
# /C and /A are the settings program's: without a display it says so as the scene does (code 4),
# and a kolvane without kolvane-settings beside it names the missing program (code 3).
set +e
"$program" /c 2>"$home/err"; code=$?
set -e
[ "$code" = 4 ] && grep -q "kolvane-settings: no X display" "$home/err" || fail "/c exited $code: $(cat "$home/err")"
mkdir -p "$home/alone"
cp "$program" "$home/alone/kolvane"
set +e
"$home/alone/kolvane" /a 2>"$home/err"; code=$?
set -e
[ "$code" = 3 ] && grep -q "kolvane-settings, which cannot be started" "$home/err" || fail "/a alone exited $code"
echo "startup smoke checks passed"
