#!/usr/bin/env bash
# The settings program on a virtual X display, driven by key presses as a user would, checked by what it stores.
# Covered: the configuration window and its second start, the title sound, the options stored on every close,
# captions and audio files saved, a title picture too large refused, the About box, the preview, the set-password
# dialog, /S handed back, and what cannot be kept: a password typed on a Russian layout, a full disk, a stale
# copy, a settings file too large.
# Arguments: the scene program (kolvane), the settings program beside it, the test helper, the assets.
# KOLVANE_SHOTS: a folder that keeps a screenshot of every dialog; KOLVANE_SCREEN: the display's size.
# KOLVANE_TEST_SLOWDOWN (default 1) stretches the waits for unoptimised, sanitized builds.
set -euo pipefail
# Without a display the script starts one of its own, at a random first number (other tests start
# displays meanwhile); -noreset keeps it accepting clients between the programs started one by one.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 ${KOLVANE_SCREEN:-1280x1024}x24 -nolisten tcp -noreset" \
    "$0" "$@"
fi
program=$1 settings_program=$2 helper=$3 assets=$4
slowdown=${KOLVANE_TEST_SLOWDOWN:-1}

source "$(dirname "$0")/../x11_scratch.sh"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data KOLVANE_DATA=$assets
# Sound goes to a file (44.1 kHz, 16-bit stereo), where the test can hear it.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/sound.raw
# No desktop session here: GTK keeps its settings in memory and does not look for accessibility.
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 GDK_BACKEND=x11
unset XSCREENSAVER_WINDOW SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
mkdir -p "$HOME" "$work/bin" "$work/music/sub"
checks=0
fail() {
  echo "FAIL: $*" >&2
  echo "--- the programs said:" >&2
  cat "$work/stderr" >&2 2>/dev/null || true
  exit 1
}
ok() { checks=$((checks + 1)); echo "ok - $*"; }
pause() { sleep "$(awk -v s="$1" -v k="$slowdown" 'BEGIN { print s * k }')"; }

settings_file=$XDG_CONFIG_HOME/kolvane/settings.ini
captions_file="$XDG_DATA_HOME/kolvane/Kolvane Captions.dat"
audio_file="$XDG_DATA_HOME/kolvane/Kolvane Audio Files.dat"
ini() { sed -n "s/^$1=//p" "$settings_file"; }

# The first window titled exactly $1 once it is on the screen; it gets the keyboard.
window() {
  local id
  id=$(timeout $((10 * slowdown)) xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1) ||
    fail "no window titled '$1'"
  [ -n "$id" ] || fail "no window titled '$1'"
  xdotool windowfocus "$id" 2>/dev/null || true
  pause 0.3
  echo "$id"
}
# Waits until no window is titled exactly $1.
gone() {
  for _ in $(seq $((40 * slowdown))); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  fail "the window '$1' is still there"
}
visible_count() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
keys() { xdotool key --delay 60 "$@"; pause 0.4; }
type_text() { xdotool type --delay 40 "$1"; pause 0.2; }
shot() { [ -z "${KOLVANE_SHOTS:-}" ] || { mkdir -p "$KOLVANE_SHOTS"; import -window root "$KOLVANE_SHOTS/$1.png"; }; }

# Samples that are not silence in the last half second the sound device was given.
loud_samples() {
  python3 - "$SDL_DISKAUDIOFILE" <<'EOF'
import array, sys
try:
    with open(sys.argv[1], 'rb') as f:
        f.seek(0, 2)
        f.seek(max(0, f.tell() - 88200))
        data = f.read()
except OSError:
    data = b''
samples = array.array('h', data[:len(data) // 2 * 2])
print(sum(1 for s in samples if s))
EOF
}
until_loud() {
  for _ in $(seq $((20 * slowdown))); do
    [ "$(loud_samples)" -gt 1000 ] && return 0
    sleep 0.25
  done
  return 1
}
until_quiet() {
  for _ in $(seq $((20 * slowdown))); do
    [ "$(loud_samples)" = 0 ] && return 0
    sleep 0.25
  done
  return 1
}

# True while process $1 runs; then waits up to $2 seconds for it to end and puts its code in $rc.
running() { [ -r "/proc/$1/stat" ] && [ "$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null)" != Z ]; }
wait_exit() {
  for _ in $(seq $((4 * $2 * slowdown))); do
    running "$1" || break
    sleep 0.25
  done
  running "$1" && return 1
  set +e; wait "$1"; rc=$?; set -e
}

echo "== the scene program never links the dialogs' toolkit"
# Whole lists first: grep -q stopping early would make ldd fail under pipefail.
libraries=$(ldd "$program")
settings_libraries=$(ldd "$settings_program")
grep -q libgtk <<<"$libraries" && fail "$program links GTK"
grep -q libgtk-3 <<<"$settings_libraries" || fail "$settings_program does not link GTK 3"
ok "kolvane has no GTK among its libraries; kolvane-settings has"

# Stored values the options must show; a protected desktop, which a preview must not ask about.
mkdir -p "$XDG_CONFIG_HOME/kolvane"
cat >"$settings_file" <<EOF
[Config]
install_path=$assets/sounds
cycle_speed_value=7
object_frequency=3
scroller_delay=12
audio_seconds=40
frame_rate=48
audio_on=0
show_time=1
scroller_active=0
save_as_wallpaper=1
object_scale=2
large_backgrounds=0
[Desktop]
ScreenSaveUsePassword=1
EOF
# A system information program the About box finds on PATH.
printf '#!/bin/sh\ntouch "%s/system-info-started"\n' "$work" >"$work/bin/hardinfo"
chmod +x "$work/bin/hardinfo"
# Audio files in two letter cases beside files that are no audio, and a folder.
cp "$assets/sounds/orvel1.wav" "$work/music/a.wav"
cp "$assets/music/orbit-lullaby.mid" "$work/music/b.MID"
cp "$assets/music/nebula-drift.mid" "$work/music/c.rmi"
echo "not audio" >"$work/music/d.txt"
cp "$assets/sounds/orvel2.wav" "$work/music/sub/e.wav"

echo "== /C: the configuration window, once"
PATH=$work/bin:$PATH "$program" /C 2>>"$work/stderr" &
config_pid=$!
pids+=("$config_pid")
config=$(window "Kolvane Screen Saver Configuration")
[ "$(readlink -f "/proc/$config_pid/exe")" = "$(readlink -f "$settings_program")" ] ||
  fail "the window is not the settings program's ($(readlink -f "/proc/$config_pid/exe"))"
ok "kolvane /C became kolvane-settings and shows 'Kolvane Screen Saver Configuration'"
until_loud || fail "no title sound"
ok "the title sound plays"
shot configuration
start=$(date +%s%N)
set +e; timeout $((10 * slowdown)) "$program" /C 2>>"$work/stderr"; second=$?; set -e
[ "$second" = 0 ] || fail "the second /C exited $second"
[ "$(visible_count "Kolvane Screen Saver Configuration")" = 1 ] || fail "two configuration windows"
ok "a second /C ends at once ($(( ($(date +%s%N) - start) / 1000000 )) ms) and opens nothing"

echo "== options: the stored values, a slider moved by keys, saved on Ok and on the title-bar close"
keys alt+o
options=$(window "Screen Saver Options")
shot options
until_quiet || fail "the title sound plays on while the options are open"
ok "the title sound stops while the options are open"
# The first slider has the focus: one step right; Play Audio ticked by its mnemonic; then Ok.
keys Right
keys alt+a
# Large Backgrounds ticked by its mnemonic; the object size list moved to its last choice.
keys alt+l
keys alt+z
keys End
keys alt+o
gone "Screen Saver Options"
[ "$(ini large_backgrounds)" = 1 ] || fail "Large Backgrounds stored as $(ini large_backgrounds), not 1"
[ "$(ini object_scale)" = 3 ] || fail "the object size stored as $(ini object_scale), not 3 (Triple)"
[ "$(ini cycle_speed_value)" = 8 ] || fail "scene length $(ini cycle_speed_value), not 7 + 1"
[ "$(ini audio_on)" = 1 ] || fail "Play Audio stored as $(ini audio_on)"
for pair in object_frequency=3 scroller_delay=12 audio_seconds=40 show_time=1 scroller_active=0 save_as_wallpaper=1; do
  [ "$(ini "${pair%=*}")" = "${pair#*=}" ] || fail "${pair%=*} stored as $(ini "${pair%=*}"), shown wrongly"
done
[ "$(ini frame_rate)" = 50 ] || fail "a stored frame rate of 48 came back as $(ini frame_rate), not 50"
ok "the stored values were shown (unmoved ones saved unchanged, 48 ms as slider 10 = 50 ms); Right, Alt+A, Alt+L and the object size list (End: Triple) saved"
until_loud || fail "the title sound did not come back after the options"
ok "the title sound starts again after the options"
window "Kolvane Screen Saver Configuration" >/dev/null
keys alt+o
options=$(window "Screen Saver Options")
keys End
"$helper" close "$options"
gone "Screen Saver Options"
[ "$(ini cycle_speed_value)" = 20 ] || fail "the title-bar close stored scene length $(ini cycle_speed_value), not 20"
ok "the title-bar close saves as Ok does (End: scene length 20)"

echo "== captions: typed, Enter twice, saved with CR LF; Cancel keeps the file"
window "Kolvane Screen Saver Configuration" >/dev/null
keys alt+o
window "Screen Saver Options" >/dev/null
keys alt+c
window "Edit Screen Saver Captions" >/dev/null
type_text "Hello stars"
keys Return Return
shot captions
keys alt+e
gone "Edit Screen Saver Captions"
printf 'Welcome To Kolvane Screen Saver\r\nYou can adjust the frame rate and how often to launch an object\r\nHello stars\r\nHello stars\r\n' |
  cmp -s - "$captions_file" || fail "the caption file holds: $(od -c "$captions_file" | tail -5)"
ok "two Enters added the caption twice; Save And Exit wrote the list with CR LF"
window "Screen Saver Options" >/dev/null
keys alt+c
window "Edit Screen Saver Captions" >/dev/null
type_text "Not kept"
keys Return
keys alt+c
gone "Edit Screen Saver Captions"
grep -q "Not kept" "$captions_file" && fail "Cancel saved the captions"
ok "Cancel leaves the caption file as it was"

echo "== audio files: a folder typed, a file previewed, every audio file chosen, saved"
window "Screen Saver Options" >/dev/null
keys alt+e
audio_title="Edit Screen Saver Audio Files \( \.wav \.mid \)"
window "$audio_title" >/dev/null
keys ctrl+l
type_text "$work/music/"
keys Return
pause 1
shot audio-files
until_quiet || fail "something plays before a file is previewed"
# The file list has the focus on its first file: Enter on it previews it.
keys Return
until_loud || fail "Enter on a.wav previewed nothing"
ok "a file of the typed folder previews through the mixer"
# One key at a time: a button pressed by its mnemonic clicks a moment later, so Save And Exit pressed
# right after Add could click first.
keys ctrl+a
keys alt+s
keys alt+e
gone "$audio_title"
expected=""
for i in 1 2 3 4 5 6 7 8 9; do expected+="$assets/sounds/orvel$i.wav\r\n"; done
chosen="$work/music/a.wav\r\n$work/music/b.MID\r\n$work/music/c.rmi\r\n"
printf "$expected$chosen" | cmp -s - "$audio_file" || fail "the audio list holds: $(cat -A "$audio_file")"
ok "the selected audio files (both letter cases, no text file, no folder) were added in order and saved"
window "Screen Saver Options" >/dev/null
keys alt+e
window "$audio_title" >/dev/null
keys alt+a
keys alt+e
gone "$audio_title"
printf "$expected$chosen$chosen" | cmp -s - "$audio_file" || fail "Add All in the kept folder gave: $(cat -A "$audio_file")"
ok "a second opening starts in the folder of the first; Add All adds its audio files"

echo "== lists the dialogs cannot keep whole: an over-full caption file, a name holding a double quote"
saved_captions=$(mktemp -p "$work")
cp "$captions_file" "$saved_captions"
for i in $(seq 101); do printf 'line %s\r\n' "$i"; done >"$captions_file"
cp "$captions_file" "$work/captions-101"
window "Screen Saver Options" >/dev/null
keys alt+c
window "Screen Saver Captions" >/dev/null
shot message-captions-cut
grep -q "Only The First 100 Captions Were Loaded" "$work/stderr" || fail "no message about the captions left out"
keys Return
window "Edit Screen Saver Captions" >/dev/null
keys alt+e
window "Screen Saver Captions" >/dev/null
grep -q "Save anyway?" "$work/stderr" || fail "Save did not ask before replacing the over-full caption file"
keys Escape
window "Edit Screen Saver Captions" >/dev/null
cmp -s "$work/captions-101" "$captions_file" || fail "No to the question still replaced the caption file"
keys alt+c
gone "Edit Screen Saver Captions"
ok "101 captions: the first 100 shown with a message; Save asks first, and No keeps the file"
cp "$saved_captions" "$captions_file"
mkdir -p "$work/odd"
cp "$assets/sounds/orvel1.wav" "$work/odd/b,\"c.wav"
cp "$assets/sounds/orvel2.wav" "$work/odd/d.wav"
cp "$audio_file" "$work/audio-before"
window "Screen Saver Options" >/dev/null
keys alt+e
window "$audio_title" >/dev/null
keys ctrl+l
type_text "$work/odd/"
keys Return
pause 1
keys alt+a
window "Screen Saver Audio Files" >/dev/null
shot message-audio-quote
grep -q "cannot be kept in the audio list" "$work/stderr" || fail "no message for the name holding a double quote"
keys Return
window "$audio_title" >/dev/null
keys alt+e
gone "$audio_title"
{ cat "$work/audio-before"; printf '%s\r\n' "$work/odd/d.wav"; } | cmp -s - "$audio_file" ||
  fail "Add All with a quoted name gave: $(cat -A "$audio_file")"
ok "Add All leaves out 'b,\"c.wav' with a message and adds the other file"
window "Screen Saver Options" >/dev/null
keys alt+o
gone "Screen Saver Options"

echo "== About: System Info starts the program found on PATH; Escape closes"
window "Kolvane Screen Saver Configuration" >/dev/null
keys alt+a
window "About Kolvane Screen Saver" >/dev/null
shot about
keys alt+s
for _ in $(seq $((20 * slowdown))); do [ -e "$work/system-info-started" ] && break; sleep 0.25; done
[ -e "$work/system-info-started" ] || fail "System Info did not start hardinfo from PATH"
ok "System Info started the first system information program on PATH"
window "About Kolvane Screen Saver" >/dev/null
keys Escape
gone "About Kolvane Screen Saver"
ok "Escape closes the About box"
window "Kolvane Screen Saver Configuration" >/dev/null
keys alt+d
window "Error!" >/dev/null
shot message-products
grep -q "Error Launching Dravik_Products.exe" "$work/stderr" || fail "no products message"
keys Return
gone "Error!"
ok "Dravik Products without its program shows the engine's message"

echo "== Preview: the scene as a test run, ended by a key although the desktop is protected"
window "Kolvane Screen Saver Configuration" >/dev/null
keys alt+p
timeout $((10 * slowdown)) xdotool search --sync --onlyvisible --name '^screen saver running$' >/dev/null ||
  fail "Preview showed no scene"
scene_pid=$(pgrep -n -f -- "--test-run" || true)
[ -n "$scene_pid" ] || fail "no scene process with --test-run"
pause 1.5
shot preview-scene
for _ in 1 2 3; do
  xdotool key a
  pause 0.7
  xdotool search --onlyvisible --name '^screen saver running$' >/dev/null 2>&1 || break
done
xdotool search --onlyvisible --name '^screen saver running$' >/dev/null 2>&1 &&
  fail "a key did not end the test run (a password prompt?)"
running "$config_pid" || fail "the configuration window ended with the preview"
ok "Preview ran 'kolvane /S --test-run'; a key ended it without a password"
until_loud || fail "the title sound did not come back after the preview"
ok "the title sound starts again after the preview"

echo "== Exit"
window "Kolvane Screen Saver Configuration" >/dev/null
keys alt+e
wait_exit "$config_pid" 5 || fail "Exit did not end the program"
[ "$rc" = 0 ] || fail "Exit ended the program with code $rc"
ok "Exit ends the program with code 0"

echo "== a title picture whose header claims 30000 x 30000: refused unread, the window shows without it"
pictures=$work/pictures
mkdir -p "$pictures"
for f in "$assets"/*; do ln -s "$f" "$pictures/"; done
rm "$pictures/title.bmp"
# A PNG of under a kilobyte: its header, the first rows of black, no more.
python3 - "$pictures/title.bmp" <<'EOF'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
header = struct.pack('>IIBBBBB', 30000, 30000, 8, 2, 0, 0, 0)
rows = zlib.compress(b'\0' * (1 + 3 * 30000) * 8, 9)
with open(sys.argv[1], 'wb') as f:
    f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', rows) + chunk(b'IEND', b''))
EOF
KOLVANE_DATA=$pictures "$program" /C 2>>"$work/stderr" &
config_pid=$!
pids+=("$config_pid")
window "Kolvane Screen Saver Configuration" >/dev/null
peak_kb=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB$/\1/p' "/proc/$config_pid/status")
[ "${peak_kb:-0}" -gt 0 ] && [ "$peak_kb" -lt 1000000 ] || fail "the settings program peaked at ${peak_kb:-?} kB"
grep -q "cannot read the picture $pictures/title.bmp" "$work/stderr" || fail "the huge title picture was not refused"
ok "a $(stat -c %s "$pictures/title.bmp")-byte title picture claiming 30000 x 30000 is refused; peak $((peak_kb / 1024)) MiB"
keys alt+e
wait_exit "$config_pid" 5 || fail "Exit did not end the program"

if ! PATH=/usr/bin:/bin command -v hardinfo gnome-system-monitor lshw-gtk >/dev/null 2>&1; then
  echo "== About without a system information program"
  PATH=/usr/bin:/bin "$program" /C 2>>"$work/stderr" &
  config_pid=$!
  pids+=("$config_pid")
  window "Kolvane Screen Saver Configuration" >/dev/null
  keys alt+a
  window "About Kolvane Screen Saver" >/dev/null
  keys alt+s
  window "scrnsave:Kolvane" >/dev/null
  shot message-system-info
  grep -q "scrnsave:Kolvane: System Information Is Unavailable At This Time" "$work/stderr" ||
    fail "no unavailable message"
  keys Return
  gone "scrnsave:Kolvane"
  window "About Kolvane Screen Saver" >/dev/null
  keys Return
  gone "About Kolvane Screen Saver"
  ok "with none on PATH, System Info shows 'System Information Is Unavailable At This Time'; Enter closes"
  window "Kolvane Screen Saver Configuration" >/dev/null
  "$helper" close "$(window "Kolvane Screen Saver Configuration")"
  wait_exit "$config_pid" 5 || fail "the title-bar close did not end the program"
  ok "the title-bar close ends the configuration window's program"
fi

echo "== /A: the set-password dialog"
misc_before=$(ini misc)
"$program" /A 2>>"$work/stderr" &
pid=$!
pids+=("$pid")
window "Change  Password" >/dev/null
type_text abc
keys Tab
type_text abc
shot new-password
keys Return Escape
running "$pid" || fail "Enter or Escape closed the set-password dialog"
[ "$(visible_count "Change  Password")" = 1 ] || fail "Enter or Escape closed the set-password dialog"
[ "$(ini misc)" = "$misc_before" ] || fail "Enter saved a password"
ok "Enter and Escape do nothing in the set-password dialog"
keys Tab space
wait_exit "$pid" 5 || fail "OK did not end the /A program"
[ "$rc" = 0 ] || fail "/A ended with code $rc"
expected_misc=$("$helper" encode ABC)
[ "$(ini misc)" = "$expected_misc" ] || fail "misc is '$(ini misc)', the engine's form of ABC is '$expected_misc'"
ok "'abc' typed twice is stored as the engine's scrambled 'ABC' ($expected_misc)"

"$program" /A 2>>"$work/stderr" &
pid=$!
pids+=("$pid")
window "Change  Password" >/dev/null
type_text 'x!'
keys Tab
type_text X1
keys Tab space
wait_exit "$pid" 5 || fail "OK did not end the /A program"
[ "$(ini misc)" = "$("$helper" encode X1)" ] || fail "'x!' and 'X1' stored as '$(ini misc)'"
ok "'x!' and 'X1' match as the keys' unshifted characters and are stored as 'X1'"
misc_before=$(ini misc)

"$program" /A 2>>"$work/stderr" &
pid=$!
pids+=("$pid")
window "Change  Password" >/dev/null
type_text abc
keys Tab
type_text abd
keys Tab space
window "Microsoft Windows" >/dev/null
shot message-mismatch
grep -q "Microsoft Windows: The new and confirmed passwords do not match. Please type them again." "$work/stderr" ||
  fail "no mismatch message"
[ "$(ini misc)" = "$misc_before" ] || fail "a mismatch stored '$(ini misc)'"
keys Return
gone "Microsoft Windows"
running "$pid" || fail "the dialog closed after the mismatch"
ok "a mismatch shows 'The new and confirmed passwords do not match. Please type them again.' and stores nothing"
window "Change  Password" >/dev/null
keys Tab space
wait_exit "$pid" 5 || fail "Cancel did not end the /A program"
[ "$(ini misc)" = "$misc_before" ] || fail "Cancel stored '$(ini misc)'"
ok "Cancel leaves the password as it was"

echo "== what cannot be kept is said, and nothing is lost: a Russian layout, a full disk, a stale copy, a file too large"
# Cyrillic letters once all became "?", which Shift+7 types on that layout: "пароль" was kept as "777777",
# and any other Cyrillic word confirmed it.
misc_before=$(ini misc)
setxkbmap ru
"$program" /A 2>>"$work/stderr" &
pid=$!
pids+=("$pid")
window "Change  Password" >/dev/null
type_text 'пароль'
keys Tab
type_text 'другой'
keys Tab space
window "Change Password" >/dev/null
shot message-unconvertible
grep -q "Change Password: The new password has characters that cannot be kept" "$work/stderr" ||
  fail "no message for a Cyrillic password"
keys Return
gone "Change Password"
running "$pid" || fail "the dialog closed after the Cyrillic password"
[ "$(ini misc)" = "$misc_before" ] || fail "a Cyrillic password stored '$(ini misc)'"
window "Change  Password" >/dev/null
keys Tab space
wait_exit "$pid" 5 || fail "Cancel did not end the /A program"
setxkbmap us
ok "a Cyrillic password is refused with a message and stores nothing (it was kept as 777777)"

# Runs a command as on a full disk: no file it writes may grow. Its messages go through a pipe.
full_disk() {
  exec 2> >(cat >>"$work/stderr")
  trap '' XFSZ
  ulimit -f 0
  exec "$@"
}
# A full disk: no password is said to be set, and the dialog stays for another try.
full_disk "$program" /A &
pid=$!
pids+=("$pid")
window "Change  Password" >/dev/null
type_text def
keys Tab
type_text def
keys Tab space
window "Change Password" >/dev/null
grep -q "Change Password: The new password could not be saved" "$work/stderr" || fail "no message for a failed save"
keys Return
gone "Change Password"
running "$pid" || fail "the dialog closed after a failed save"
window "Change  Password" >/dev/null
keys Tab space
wait_exit "$pid" 5 || fail "Cancel did not end the /A program"
[ "$rc" != 0 ] || fail "/A ended with 0 though no password was stored"
[ "$(ini misc)" = "$misc_before" ] || fail "a failed save changed misc to '$(ini misc)'"
ok "a password that cannot be saved is said so, the dialog stays, and /A then ends with $rc"

# Options open while /A stores a password elsewhere: Ok writes only what the options changed, the
# password stays; on a full disk Ok says so once and keeps the dialog, the next Ok closes it.
for disk in free full; do
  if [ "$disk" = free ]; then "$program" /C 2>>"$work/stderr" & else full_disk "$program" /C & fi
  config_pid=$!
  pids+=("$config_pid")
  window "Kolvane Screen Saver Configuration" >/dev/null
  keys alt+o
  options=$(window "Screen Saver Options")
  "$program" /A 2>>"$work/stderr" &
  pid=$!
  pids+=("$pid")
  window "Change  Password" >/dev/null
  type_text "$disk"
  keys Tab
  type_text "$disk"
  keys Tab space
  wait_exit "$pid" 5 || fail "OK did not end the /A program"
  misc_now=$("$helper" encode "${disk^^}")
  [ "$(ini misc)" = "$misc_now" ] || fail "/A stored '$(ini misc)'"
  speed_before=$(ini cycle_speed_value)
  xdotool windowfocus "$options"
  keys Left
  keys alt+o
  if [ "$disk" = full ]; then
    # The message has the dialog's title: the other window of that name.
    for _ in $(seq $((20 * slowdown))); do
      [ "$(visible_count "Screen Saver Options")" = 2 ] && break
      sleep 0.25
    done
    message=$(xdotool search --onlyvisible --name "^Screen Saver Options\$" | grep -vx "$options" | head -1)
    [ -n "$message" ] || fail "no message for options that could not be saved"
    grep -q "Screen Saver Options: The settings could not be saved" "$work/stderr" || fail "no message text in the log"
    xdotool windowfocus "$message"
    keys Return
    [ "$(visible_count "Screen Saver Options")" = 1 ] || fail "the options closed after the failed save"
    xdotool windowfocus "$options"
    keys alt+o
  fi
  gone "Screen Saver Options"
  [ "$(ini misc)" = "$misc_now" ] || fail "Ok in the options wrote the stale password over the new one ($disk disk)"
  if [ "$disk" = free ]; then
    [ "$(ini cycle_speed_value)" = $((speed_before - 1)) ] || fail "the moved slider was not stored"
  else
    [ "$(ini cycle_speed_value)" = "$speed_before" ] || fail "a full disk stored the slider"
  fi
  "$helper" close "$(window "Kolvane Screen Saver Configuration")"
  wait_exit "$config_pid" 5 || fail "the configuration window did not end"
done
ok "a password set meanwhile survives Ok in the options; a failed save is said once and the next Ok closes"

# A settings file over the size cap (sparse, 2 GB): said in a box at the start, never read whole nor written
# over. The install folder it held is missing then, which ends the program after its own message.
cp "$settings_file" "$work/settings.ini.kept"
truncate -s 2G "$settings_file"
"$settings_program" /C 2>>"$work/stderr" &
pid=$!
pids+=("$pid")
window "Kolvane Screen Saver" >/dev/null
grep -q "Kolvane Screen Saver: The settings file $settings_file cannot be read (it is larger than 1 MiB)" "$work/stderr" ||
  fail "no message about the settings file too large"
keys Return
for _ in $(seq $((20 * slowdown))); do
  grep -q "Installation Path Not Found" "$work/stderr" && break
  sleep 0.25
done
window "Kolvane Screen Saver" >/dev/null
keys Return
wait_exit "$pid" 5 || fail "the settings program did not end after the install folder message"
[ "$(stat -c %s "$settings_file")" = $((2 << 30)) ] || fail "the settings file too large was written over"
mv "$work/settings.ini.kept" "$settings_file"
ok "a settings file of 2 GB is reported at the start and kept as it was"

echo "== the scene's switches given to the settings program go back to the scene program"
# The user's settings deleted to reset them (so the desktop is unprotected now: a key ends a real run
# too); the install folder stays known, as the installed program's own settings file says it. The lists
# are the user's and stay.
cp "$captions_file" "$work/captions-kept"
cp "$audio_file" "$work/audio-kept"
install_path=$(ini install_path)
rm "$settings_file"
printf '[Config]\ninstall_path=%s\n' "$install_path" >"$settings_file"
"$settings_program" /S --frame-rate 100 2>>"$work/stderr" &
pid=$!
pids+=("$pid")
timeout $((10 * slowdown)) xdotool search --sync --onlyvisible --name '^screen saver running$' >/dev/null ||
  fail "kolvane-settings /S showed no scene"
[ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$program")" ] || fail "/S is not run by the scene program"
xdotool key a
pause 0.7
running "$pid" && xdotool key a  # a key on the last frame of an input block counts in the next one
wait_exit "$pid" 5 || fail "the scene did not end on a key"
ok "kolvane-settings /S became the scene program, which a key ends"
[ "$(ini run_once)" = 1 ] || fail "the start after the settings were deleted did not count as the first run"
cmp -s "$work/captions-kept" "$captions_file" && cmp -s "$work/audio-kept" "$audio_file" ||
  fail "the first run after the settings were deleted replaced the lists: $(cat -A "$captions_file")"
ok "with settings.ini deleted, the first run keeps both lists"

echo "settings checks passed: $checks"
