#!/usr/bin/env bash
# The Linux program on a virtual X display: the scene and its input, a second start (told by the scene's
# lock, never by another window's title), host windows, the preview, the wallpaper snapshot and the password
# prompt, checked through screenshots and exits.
# Runs on a 1920x1080 virtual display; arguments: program, test host helper, assets folder, a folder for
# generated assets and the asset generator (used only when the assets folder holds no pictures).
# KOLVANE_TEST_SLOWDOWN (default 1) stretches the start-up limit for unoptimised, sanitized builds.
set -euo pipefail
# Without a display the script starts one of its own; the first number tried is drawn at random so
# that virtual displays started at the same moment by other programs do not collide.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1920x1080x24 -nolisten tcp" "$0" "$@"
fi
program=$1 host_helper=$2 assets=$3 generated=$4 assetgen=${5:-}
slowdown=${KOLVANE_TEST_SLOWDOWN:-1}

source "$(dirname "$0")/../x11_scratch.sh"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data SDL_AUDIODRIVER=dummy
unset XSCREENSAVER_WINDOW XDG_CURRENT_DESKTOP KOLVANE_REPORT_FIRST_FRAME
mkdir -p "$HOME" "$work/shots"
checks=0
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { checks=$((checks + 1)); echo "ok - $*"; }
now_ms() { date +%s%3N; }

if [ ! -f "$assets/sprite.bmp" ]; then
  [ -n "$assetgen" ] || fail "no pictures in $assets and no generator to make them"
  [ -f "$generated/sprite.bmp" ] || "$assetgen" --out "$generated" >/dev/null 2>&1 || fail "asset generator failed"
  assets=$generated
fi
export KOLVANE_DATA=$assets

# The settings file with the install folder and the given extra lines.
settings() {
  mkdir -p "$XDG_CONFIG_HOME/kolvane"
  { printf '[Config]\ninstall_path=%s/sounds\n' "$assets"; printf '%s\n' "$@"; } >"$XDG_CONFIG_HOME/kolvane/settings.ini"
}

# Starts the program in the background (pid in $pid) and waits until its scene window exists.
start_scene() {
  "$program" "$@" 2>>"$work/stderr" &
  pid=$!
  pids+=("$pid")
  timeout 10 xdotool search --sync --onlyvisible --name '^screen saver running$' >/dev/null ||
    fail "no scene window for $*"
}

# True while process $1 runs (an ended child that has not been waited for does not count).
running() { [ -r "/proc/$1/stat" ] && [ "$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null)" != Z ]; }

# Waits up to $2 milliseconds for process $1 to end; then its exit code is in $rc and the time taken in $took.
wait_exit() {
  local p=$1 limit=$2 start
  start=$(now_ms)
  while running "$p"; do
    [ $(( $(now_ms) - start )) -le "$limit" ] || { took=-1; rc=-1; return 1; }
    sleep 0.01
  done
  took=$(( $(now_ms) - start ))
  set +e; wait "$p"; rc=$?; set -e
}

# Presses a key to end scene $1 within $2 milliseconds: one press always counts.
press_to_end() {
  local p=$1 limit=$2 key=${3:-a}
  xdotool key "$key"
  wait_exit "$p" "$limit"
}

shot() { import -window "${2:-root}" "$work/shots/$1.png"; echo "$work/shots/$1.png"; }
colours() { convert "$1" ${2:+-crop "$2"} -format %k info:; }
# Takes screenshots of window $2 (name $1) until the crop $3 holds more than $4 colours, for a few
# seconds at most (longer for slow builds); the last one's path is in $picture.
until_shows() {
  local tries=$((12 * slowdown))
  for _ in $(seq "$tries"); do
    picture=$(shot "$1" "$2")
    [ "$(colours "$picture" "$3")" -gt "$4" ] && return 0
    sleep 0.25
  done
  return 1
}
# Pixels of exactly one colour inside a crop of a picture.
count_colour() {
  convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" -format '%[fx:round(mean*w*h)]' info:
}

# A helper window steered through two pipes: $1 names it, $2 x $3 its size. Sets <name>_in and
# <name>_out (file descriptors), <name>_pid, and <name>_id and <name>_hex (its window number).
helper_open() {
  local name=$1 fifo=$work/$1.$RANDOM in_fd out_fd id hex
  mkfifo "$fifo.in" "$fifo.out"
  "$host_helper" "$2" "$3" <"$fifo.in" >"$fifo.out" &
  printf -v "${name}_pid" %s $!
  pids+=("$!")
  exec {in_fd}>"$fifo.in" {out_fd}<"$fifo.out"
  read -r id hex <&"$out_fd"
  printf -v "${name}_in" %s "$in_fd"
  printf -v "${name}_out" %s "$out_fd"
  printf -v "${name}_id" %s "$id"
  printf -v "${name}_hex" %s "$hex"
}
# Sends a command to helper $1 and puts its answer in $answer.
helper_say() {
  local in_fd=${1}_in out_fd=${1}_out
  shift
  echo "$*" >&"${!in_fd}"
  read -r answer <&"${!out_fd}"
}
helper_close() {
  local in_fd=${1}_in out_fd=${1}_out pid=${1}_pid
  eval "exec ${!in_fd}>&- ${!out_fd}<&-"
  wait "${!pid}" 2>/dev/null || true
}
open_host() { helper_open host "$1" "$2"; }
host_say() { helper_say host "$@"; }
close_host() { helper_close host; }

# The pointer's image is checked through a helper window of its own, one pixel, out of the way.
helper_open probe 1 1
pointer() { helper_say probe cursor; echo "$answer"; }

echo "== the scene: background, sprites, pointer, a key"
settings
xdotool mousemove 960 540
t0=$(date +%s%N)
KOLVANE_REPORT_FIRST_FRAME=1 start_scene /S
sleep "$slowdown"
first=$(sed -n 's/^kolvane: first frame at //p' "$work/stderr" | head -1)
[ -n "$first" ] || fail "no first frame reported"
first_ms=$(awk -v a="$first" -v b="$t0" 'BEGIN { printf "%d", (a * 1e9 - b) / 1e6 }')
[ "$first_ms" -le $((1000 * slowdown)) ] || fail "first frame after $first_ms ms"
background=$(shot background)
[ "$(colours "$background")" -gt 1000 ] || fail "the screen has $(colours "$background") colours after a second"
ok "background on the screen ${first_ms} ms after the start, $(colours "$background") colours"
[ "$(pointer)" = blank ] || fail "the pointer is visible during the scene"
ok "pointer hidden"
moved=0
for _ in 1 2 3 4 5 6 7 8 9 10; do
  sleep 1
  later=$(shot later)
  moved=$(compare -metric AE -fuzz 8% "$background" "$later" null: 2>&1 || true)
  [ "${moved%.*}" -gt 3000 ] && break
done
[ "${moved%.*}" -gt 3000 ] || fail "nothing flies: $moved pixels changed"
ok "sprites: $moved pixels differ from the bare background"
press_to_end "$pid" 2000 || fail "a key did not end the scene"
[ "$rc" = 0 ] || fail "the scene ended with code $rc"
[ "$(pointer)" = visible ] || fail "the pointer is still hidden after the scene"
ok "a key ends it with code 0 and the pointer is back"

echo "== a key ends the scene within two frames (200 ms frames)"
start_scene /S --frame-rate 200
sleep 1.5
press_to_end "$pid" 450 space || fail "the scene did not end within two frames of a key"
[ "$rc" = 0 ] || fail "ended with code $rc"
ok "ended $took ms after the key"

echo "== mouse moves: 22 within a block do not end it, a burst of 30 does"
start_scene /S
sleep 1.5
moves=()
for i in $(seq 1 22); do moves+=(mousemove $((100 + i * 7)) $((200 + i * 3))); done
xdotool "${moves[@]}"
sleep 1.5
running "$pid" || fail "22 mouse moves ended the scene"
ok "22 moves leave it running"
burst=()
for i in $(seq 1 30); do burst+=(mousemove $((600 + i * 5)) $((300 + i * 4))); done
xdotool "${burst[@]}"
# A burst that straddles the end of an 80-frame block is counted in two halves; one more then.
wait_exit "$pid" 1000 || { xdotool "${burst[@]}"; wait_exit "$pid" 1000; } || fail "30 quick moves did not end it"
[ "$rc" = 0 ] || fail "ended with code $rc"
ok "30 quick moves end it"

echo "== a second /S ends at once"
start_scene /S
t0=$(now_ms)
set +e; timeout 10 "$program" /S; second=$?; set -e
took=$(( $(now_ms) - t0 ))
[ "$second" = 0 ] || fail "the second /S exited $second"
[ "$took" -le 1000 ] || fail "the second /S took $took ms"
[ "$(xdotool search --name '^screen saver running$' | wc -l)" = 1 ] || fail "two scene windows"
ok "second /S ended after $took ms, one scene window"
press_to_end "$pid" 2000 || fail "the first scene did not end"

echo "== two /S started together: one scene"
"$program" /S 2>>"$work/stderr" & first=$!; pids+=("$first")
"$program" /S 2>>"$work/stderr" & second=$!; pids+=("$second")
timeout 10 xdotool search --sync --onlyvisible --name '^screen saver running$' >/dev/null || fail "no scene window"
sleep "$slowdown"
alive=0
for p in "$first" "$second"; do running "$p" && alive=$((alive + 1)) && pid=$p; done
[ "$alive" = 1 ] || fail "$alive scenes run"
[ "$(xdotool search --name '^screen saver running$' | wc -l)" = 1 ] || fail "two scene windows"
ok "one of two scenes started together runs"
press_to_end "$pid" 2000 || fail "the remaining scene ignored a key"
ok "the remaining scene ends at a key"

echo "== another program's window titled as the scene keeps neither the scene nor the hack from starting"
helper_open foreign 200 100
xdotool set_window --name 'screen saver running' "$foreign_id"
"$program" /S 2>>"$work/stderr" & pid=$!; pids+=("$pid")
for _ in $(seq $((40 * slowdown))); do
  [ "$(xdotool search --onlyvisible --name '^screen saver running$' | wc -l)" -ge 2 ] && break
  running "$pid" || break
  sleep 0.05
done
running "$pid" || fail "the scene ended at once beside a foreign window of its title"
[ "$(xdotool search --onlyvisible --name '^screen saver running$' | wc -l)" = 2 ] || fail "no scene window beside the foreign one"
ok "the scene starts beside a foreign window titled 'screen saver running'"
press_to_end "$pid" 2000 || fail "that scene ignored a key"
open_host 320 240
"$program" --window-id "$host_hex" 2>>"$work/stderr" & pid=$!; pids+=("$pid")
until_shows titled "$host_id" 320x240+0+0 1000 || fail "the hack drew nothing beside a foreign window of the scene's title"
ok "the hack draws beside it too"
kill -TERM "$pid"
wait_exit "$pid" 1000 || fail "SIGTERM did not end the hack"
close_host
helper_close foreign

echo "== the lock only in a folder of the user's own: a shared runtime folder's lock decides nothing"
lock_name=kolvane-scene-$(printf %s "$DISPLAY" | tr -c 'A-Za-z0-9.' _).lock
shared=$work/shared-runtime
mkdir -m 1777 "$shared"
: >"$shared/$lock_name"
chmod 666 "$shared/$lock_name"
[ "$(id -u)" != 0 ] || chown 65534:65534 "$shared/$lock_name"  # another user's, where the test may say so
exec {held}<"$shared/$lock_name"
flock -x "$held"
XDG_RUNTIME_DIR=$shared start_scene /S
ok "a lock held in a shared runtime folder keeps no scene from starting"
press_to_end "$pid" 2000 || fail "that scene ignored a key"
exec {held}<&-
private=$work/runtime
mkdir -m 700 "$private"
XDG_RUNTIME_DIR=$private start_scene /S
[ -e "$private/$lock_name" ] || fail "no lock in the user's own runtime folder"
set +e; XDG_RUNTIME_DIR=$private timeout 10 "$program" /S; second=$?; set -e
[ "$second" = 0 ] || fail "the second /S exited $second"
[ "$(xdotool search --name '^screen saver running$' | wc -l)" = 1 ] || fail "two scenes with a private runtime folder"
ok "a private runtime folder holds the lock: a second /S ends at once"
press_to_end "$pid" 2000 || fail "the first scene did not end"

echo "== a host's window: --window-id, its size, SIGTERM, XSCREENSAVER_WINDOW"
open_host 640 480
"$program" --window-id "$host_hex" 2>>"$work/stderr" &
pid=$!; pids+=("$pid")
until_shows hosted "$host_id" 640x480+0+0 1000 || fail "nothing drawn in the host window"
xdotool mousemove 320 240
[ "$(pointer)" = visible ] || fail "the hack hid the pointer"
ok "draws into the host window ($(colours "$picture") colours), pointer left alone"
xdotool key a
sleep 0.3
running "$pid" || fail "a key ended the hack; its host decides when it ends"
host_say resize 800 600
until_shows grown "$host_id" 400x300+400+300 300 || fail "the scene did not follow the host to 800x600"
ok "follows the host's new size"
t0=$(now_ms)
kill -TERM "$pid"
wait_exit "$pid" 1000 || fail "SIGTERM did not end it within a second"
[ "$rc" = 0 ] || fail "ended with code $rc after SIGTERM"
ok "SIGTERM ends it in $(( $(now_ms) - t0 )) ms with code 0"
host_say clear  # the last run's picture stays in the window until something paints it
XSCREENSAVER_WINDOW=$host_hex "$program" --root 2>>"$work/stderr" &
pid=$!; pids+=("$pid")
until_shows daemon "$host_id" 800x600+0+0 1000 || fail "nothing drawn in the XSCREENSAVER_WINDOW window"
host_say destroy
wait_exit "$pid" $((1000 * slowdown)) || fail "the hack outlived its host window"
[ "$rc" = 0 ] || fail "ended with code $rc when its host went"
ok "draws into XSCREENSAVER_WINDOW's window and ends when it is destroyed"
close_host
open_host 320 240
"$program" --window-id "$host_hex" 2>>"$work/stderr" &
pid=$!; pids+=("$pid")
sleep 0.1
host_say destroy  # while the program is still starting
wait_exit "$pid" $((2000 * slowdown)) || fail "the hack hangs when its host goes while it starts"
[ "$rc" = 0 ] || [ "$rc" = 5 ] || fail "the hack ended with code $rc when its host went while it started"
ok "a host that goes while the hack starts ends it quietly (code $rc)"
close_host

echo "== sound: none in a settings dialog's small preview, the sound device for a daemon's whole screen"
# The first sound is due a second after the start; SDL's disk driver makes its file when the device opens.
settings audio_seconds=1
open_host 640 480
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/preview.raw "$program" --window-id "$host_hex" 2>>"$work/stderr" &
pid=$!; pids+=("$pid")
until_shows quiet "$host_id" 640x480+0+0 1000 || fail "nothing drawn in the small host window"
sleep $((2 + slowdown))
kill -TERM "$pid"
wait_exit "$pid" $((2000 * slowdown)) || fail "the hack in a small window did not end at SIGTERM"
[ ! -e "$work/preview.raw" ] || fail "the hack in a 640x480 window opened the sound device"
close_host
open_host 1920 1080
: >"$work/alsa.err"
env -u SDL_AUDIODRIVER XSCREENSAVER_WINDOW="$host_hex" "$program" --root 2>"$work/alsa.err" &
alsa_pid=$!; pids+=("$alsa_pid")
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/screen.raw "$program" --window-id "$host_hex" 2>>"$work/stderr" &
pid=$!; pids+=("$pid")
for _ in $(seq $((20 * (2 + slowdown)))); do [ -s "$work/screen.raw" ] && break; sleep 0.1; done
[ -s "$work/screen.raw" ] || fail "the hack covering the whole screen played nothing"
sleep 1  # the other hack's first sound is due at about the same time
kill -TERM "$pid" "$alsa_pid"
wait_exit "$pid" $((2000 * slowdown)) || fail "the hack covering the screen did not end at SIGTERM"
wait_exit "$alsa_pid" $((2000 * slowdown)) || fail "the hack with the machine's own sound did not end at SIGTERM"
close_host
ok "silent in a 640x480 host, sound in a 1920x1080 one"
# This machine's own sound: without a sound card the daemon's log gets no line from ALSA.
if [ -e /proc/asound/cards ] && grep -q '^ *[0-9]' /proc/asound/cards; then
  echo "skip - this machine has a sound card; ALSA's messages are its own"
elif grep -q "ALSA" "$work/alsa.err"; then
  fail "ALSA wrote to the log: $(head -3 "$work/alsa.err")"
else
  ok "no sound card: nothing from ALSA in the log"
fi
settings

echo "== the preview: /P in a host window"
open_host 400 300
"$program" /P "$host_id" 2>>"$work/stderr" &
pid=$!; pids+=("$pid")
until_shows preview "$host_id" 150x112+0+0 50 || fail "no preview picture in the host's corner"
host_say children
[ "$answer" = 1 ] || fail "the host has $answer child windows"
[ "$(colours "$picture" 200x150+200+150)" = 1 ] || fail "the preview spread beyond its picture"
convert "$picture" -crop 150x112+0+0 +repage "$work/shots/corner.png"
differ=$(compare -metric AE "$assets/preview.bmp" "$work/shots/corner.png" null: 2>&1 || true)
[ "$differ" = 0 ] || fail "the host's corner differs from the preview picture in $differ pixels"
ok "exactly the preview picture in the host's top-left corner"
t0=$(now_ms)
host_say destroy
wait_exit "$pid" $((500 * slowdown)) || fail "the preview outlived its host"
[ "$rc" = 0 ] || fail "the preview ended with code $rc"
ok "preview ends $(( $(now_ms) - t0 )) ms after its host is destroyed"
close_host
open_host 400 300
"$program" /P "$host_id" 2>>"$work/stderr" &
pid=$!; pids+=("$pid")
until_shows preview2 "$host_id" 150x112+0+0 50 || fail "no preview picture in the second host"
host_say close-children
wait_exit "$pid" $((500 * slowdown)) || fail "a close request to the picture did not end the preview"
[ "$rc" = 0 ] || fail "the preview ended with code $rc"
ok "a close request to the picture ends the preview"
close_host

echo "== the wallpaper snapshot"
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$@" >>"%s/gsettings.log"\n' "$work" >"$work/bin/gsettings"
chmod +x "$work/bin/gsettings"
settings save_as_wallpaper=1 scroller_delay=1
PATH=$work/bin:$PATH XDG_CURRENT_DESKTOP=GNOME start_scene /S
sleep 5
screen=$(shot with-boxes)
navy=$(count_colour "$screen" 1920x29+0+1051 '#000080')
yellow=$(count_colour "$screen" 80x20+1840+0 '#FFFF00')
[ "$navy" -gt 20000 ] || fail "no caption box on the screen ($navy navy pixels)"
[ "$yellow" -gt 20 ] || fail "no clock on the screen ($yellow yellow pixels)"
ok "caption and clock on the screen ($navy navy, $yellow yellow pixels)"
press_to_end "$pid" 3000 || fail "the scene did not end"
[ "$rc" = 0 ] || fail "ended with code $rc"
bmp="$XDG_DATA_HOME/kolvane/Kolvane Image.bmp"
[ -f "$bmp" ] || fail "no snapshot written"
[ "$(identify -format '%w %h' "$bmp")" = "1920 1080" ] || fail "snapshot is $(identify -format '%wx%h' "$bmp")"
[ "$(count_colour "$bmp" 1920x29+0+1051 '#000080')" -lt 100 ] || fail "the caption is in the snapshot"
[ "$(count_colour "$bmp" 80x20+1840+0 '#FFFF00')" -lt 5 ] || fail "the clock is in the snapshot"
[ "$(colours "$bmp")" -gt 1000 ] || fail "the snapshot is not the scene"
grep -q "picture-uri file://$XDG_DATA_HOME/kolvane/Kolvane%20Image.bmp" "$work/gsettings.log" ||
  fail "the desktop background was not set: $(cat "$work/gsettings.log" 2>/dev/null)"
ok "snapshot 1920x1080 without caption or clock, set as the GNOME background"

echo "== the password prompt"
settings '[Desktop]' ScreenSaveUsePassword=1
start_scene /S
sleep 1
prompt_grey() { count_colour "$1" 312x124+804+478 '#C0C0C0'; }
helper_say probe grab
[ "$answer" = "keyboard-held pointer-held" ] || fail "a protected scene leaves input free: $answer"
ok "a protected scene holds the keyboard and the pointer"
# The window manager's close request (Alt+F4, or another program) is input like a key.
scene_window=$(xdotool search --name '^screen saver running$' | head -1)
helper_say probe close "$(printf '%x' "$scene_window")"
sleep 0.5
running "$pid" || fail "a close request ended a protected scene without the password"
prompt=$(shot prompt)
[ "$(prompt_grey "$prompt")" -gt 10000 ] || fail "no prompt in the middle of the screen after a close request"
[ "$(pointer)" = visible ] || fail "the pointer is hidden while the prompt is up"
ok "a close request shows the prompt, pointer visible"
xdotool type wrong
xdotool key Return
sleep 0.5
running "$pid" || fail "a wrong password ended the scene"
message=$(shot message)
[ "$(compare -metric AE "$prompt" "$message" null: 2>&1 || true)" != 0 ] || fail "no message box"
xdotool key Return
sleep 0.5
running "$pid" || fail "closing the message ended the scene"
ok "a wrong password is refused with a message"
xdotool key Return  # the empty entry matches the empty password
wait_exit "$pid" 2000 || fail "the right password did not end the scene"
[ "$rc" = 0 ] || fail "ended with code $rc"
ok "the right password ends it with code 0"
helper_say probe grab
[ "$answer" = "keyboard-free pointer-free" ] || fail "input still held after the scene: $answer"
ok "keyboard and pointer free again"

helper_close probe
echo "scene checks passed: $checks"
