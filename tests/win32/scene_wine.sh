#!/usr/bin/env bash
# Drives kolvane.scr under Wine in the test display as a user would: the scene (/S) and how it ends, the
# password prompt, the set-password dialog (/A), the wallpaper snapshot and the preview (/P) in a host window.
# Needs WINEPREFIX and DISPLAY (scripts/test sets both). Arguments: kolvane.scr, the preview_host helper and
# the assets folder (for sound files).
set -euo pipefail
scr=$1
host=$2
assets=$3
source "$(dirname "$0")/wine_common.sh" scene
begin_scratch
convert=/usr/bin/convert
# The scrambled form of "ABC" as the settings store keeps it.
scrambled_abc=xizkyh

program=$scr
# A key for the scene, with the pointer moved onto it first (focus follows the pointer). A key that
# arrives in the frame that ends an 80-frame block is forgotten, so the callers press up to three times.
poke() {
  xdotool mousemove 200 200
  sleep 0.1
  xdotool mousemove 300 300
  sleep 0.3
  xdotool key x
}
# Keys until the run ends; prints its exit code.
key_ends() {
  local code
  for _ in 1 2 3; do
    poke
    for _ in $(seq 30); do
      [ -s "$work/$1.rc" ] && { cat "$work/$1.rc"; return 0; }
      sleep 0.1
    done
  done
  code=$(ended "$1") && echo "$code"
}
# Keys until a window with that title shows; prints its id.
key_shows() {
  local id
  for _ in 1 2 3; do
    poke
    id=$(timeout 5 xdotool search --sync --name "$1" | head -1) && { echo "$id"; return 0; }
  done
  return 1
}
# Sprites move: two screenshots a second apart differ below the clock and above the caption line
# (a few tries, for the moments with hardly a sprite on the screen).
moves() {
  local changed
  for _ in 1 2 3 4 5 6; do
    import -window root "$work/m1.png"
    sleep 1
    import -window root "$work/m2.png"
    changed=$(compare -metric AE -fuzz 2% "$work/m1.png" "$work/m2.png" -crop 1024x700+0+20 null: 2>&1 || true)
    [ "${changed%%.*}" -gt 50 ] && { echo "pixels changed in a second: $changed"; return 0; }
  done
  echo "pixels changed in a second: $changed" >&2
  return 1
}
# Pixels of a picture's rectangle that have exactly one colour.
count_colour() {
  "$convert" "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" -format '%[fx:round(mean*w*h)]' info:
}

wine reg delete "$settings" /f >/dev/null 2>&1 || true
# The program stops with its install-folder message unless the folder is there.
mkdir -p "$WINEPREFIX/drive_c/Program Files/Kolvane"
set_value "$settings" install_path 'C:\Program Files\Kolvane'
# No background change during these runs: a key pressed in the frame that ends an 80-frame block is
# forgotten, and a change (every 400 frames by default) makes that frame long.
set_value "$settings" cycle_speed_value 100
set_value "$desktop" ScreenSaveUsePassword 0
rm -f "$windir/Kolvane Image.bmp"

echo "-- /S draws the scene; a second /S opens nothing; a key ends it"
start scene1 /S
win=$(window '^screen saver running$') || fail "no scene window"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH" = 1024 ] && [ "$HEIGHT" = 768 ] || fail "scene window is ${WIDTH}x$HEIGHT, not the whole screen"
sleep 3
import -window root "$work/a.png"
colours=$("$convert" "$work/a.png" -format %k info:)
echo "colours on the screen: $colours"
[ "$colours" -gt 1000 ] || fail "only $colours colours on the screen"
moves || fail "the scene does not move"
[ "$(count_colour "$work/a.png" 69x17+955+0 '#FFFF00')" -gt 10 ] || fail "no clock in the top right corner"
timeout 20 wine "$scr" /S >/dev/null 2>&1 || fail "a second /S did not end cleanly"
[ "$(xdotool search --name '^screen saver running$' | wc -l)" = 1 ] || fail "a second scene window opened"
rc=$(key_ends scene1) || fail "a key did not end the scene"
[ "$rc" = 0 ] || fail "the scene ended with exit code $rc"
no_window '^screen saver running$' || fail "the scene window stayed"
[ ! -e "$windir/Kolvane Image.bmp" ] || fail "a wallpaper was saved with save_as_wallpaper 0"

echo "-- two /S started together: one runs, the other leaves with code 0"
start together1 /S
start together2 /S
window '^screen saver running$' >/dev/null || fail "no scene window"
for _ in $(seq 50); do
  { [ -s "$work/together1.rc" ] || [ -s "$work/together2.rc" ]; } && break
  sleep 0.2
done
left=0 codes=""
for name in together1 together2; do
  [ -s "$work/$name.rc" ] && { left=$((left + 1)); codes+=$(cat "$work/$name.rc"); }
done
[ "$left" = 1 ] || fail "$left of two scenes started together ended at once"
[ "$codes" = 0 ] || fail "the second scene ended with code $codes"
[ "$(xdotool search --name '^screen saver running$' | wc -l)" = 1 ] || fail "two scene windows"
remaining=together1
[ -s "$work/together1.rc" ] && remaining=together2
rc=$(key_ends "$remaining") || fail "a key did not end the remaining scene"
[ "$rc" = 0 ] || fail "the remaining scene ended with exit code $rc"

echo "-- save_as_wallpaper 1: the last picture without caption or clock, of the screen's size"
set_value "$settings" save_as_wallpaper 1
set_value "$settings" scroller_delay 1
start scene2 /S
window '^screen saver running$' >/dev/null || fail "no scene window"
sleep 4.5
import -window root "$work/caption.png"
[ "$(count_colour "$work/caption.png" 1024x20+0+748 '#000080')" -gt 5000 ] || fail "no caption line on the screen"
[ "$(count_colour "$work/caption.png" 69x17+955+0 '#FFFF00')" -gt 10 ] || fail "no clock on the screen"
rc=$(key_ends scene2) || fail "a key did not end the scene"
[ "$rc" = 0 ] || fail "the scene ended with exit code $rc"
bmp="$windir/Kolvane Image.bmp"
[ -f "$bmp" ] || fail "no Kolvane Image.bmp in the Windows directory"
size=$(identify -format '%wx%h' "$bmp")
[ "$size" = 1024x768 ] || fail "the wallpaper is $size"
[ "$(count_colour "$bmp" 1024x20+0+748 '#000080')" -lt 100 ] || fail "the caption line is in the wallpaper"
[ "$(count_colour "$bmp" 69x17+955+0 '#FFFF00')" = 0 ] || fail "the clock is in the wallpaper"
[ "$("$convert" "$bmp" -format %k info:)" -gt 1000 ] || fail "the wallpaper is not the scene"
[ "$(reg_value "$desktop" Wallpaper)" = 'C:\windows\Kolvane Image.bmp' ] || fail "the desktop wallpaper was not set"
set_value "$settings" save_as_wallpaper 0
set_value "$settings" scroller_delay 10

echo "-- audio: a WAV file, a MIDI piece and a missing file from the audio list, started every second"
sounds="$WINEPREFIX/drive_c/kolvane-test"
mkdir -p "$sounds"
cp "$assets/sounds/orvel1.wav" "$sounds/one.wav"
cp "$(ls "$assets"/music/*.mid | head -1)" "$sounds/piece.mid"
printf 'C:\\kolvane-test\\one.wav\r\nC:\\kolvane-test\\piece.mid\r\nC:\\kolvane-test\\missing.wav\r\n' \
  >"$windir/Kolvane Audio Files.dat"
set_value "$settings" audio_seconds 1
start scene4 /S
window '^screen saver running$' >/dev/null || fail "no scene window"
sleep 6
[ ! -s "$work/scene4.rc" ] || fail "the scene ended while playing sounds"
[ "$(xdotool search --name . 2>/dev/null | xargs -r -n1 xdotool getwindowname 2>/dev/null |
  grep -c -i -e kolvane -e mci -e error)" = 0 ] || fail "a message appeared while playing sounds"
rc=$(key_ends scene4) || fail "a key did not end the scene with sounds playing"
[ "$rc" = 0 ] || fail "the scene with sounds ended with exit code $rc"
set_value "$settings" audio_seconds 15
rm -rf "$sounds" "$windir/Kolvane Audio Files.dat"

echo "-- with the desktop password switch on: the prompt, its time limit, Cancel, a wrong entry, the right one"
set_value "$desktop" ScreenSaveUsePassword 1
set_value "$settings" misc "$scrambled_abc"
start scene3 /S
window '^screen saver running$' >/dev/null || fail "no scene window"
sleep 1
prompt=$(key_shows '^Screen Saver Password$') || fail "a key did not bring up the password prompt"
moves || fail "the scene stands still under the prompt"
# Untouched, the prompt closes itself after 20 seconds and the scene goes on.
sleep 20
no_window '^Screen Saver Password$' || fail "the prompt did not close itself after 20 seconds"
[ ! -s "$work/scene3.rc" ] || fail "the prompt's time limit ended the scene"
prompt=$(key_shows '^Screen Saver Password$') || fail "a key did not bring up the password prompt again"
point_at "$prompt"
xdotool key Tab Tab space
sleep 1
no_window '^Screen Saver Password$' || fail "Cancel did not close the prompt"
[ ! -s "$work/scene3.rc" ] || fail "Cancel ended the scene"
prompt=$(key_shows '^Screen Saver Password$') || fail "the prompt did not come back"
point_at "$prompt"
xdotool type --delay 50 wrong
xdotool key Return
box=$(window '^Passwords$') || fail "no Passwords message for a wrong entry"
point_at "$box"
xdotool key Return
sleep 0.5
no_window '^Passwords$' || fail "the Passwords message stayed"
[ ! -s "$work/scene3.rc" ] || fail "a wrong password ended the scene"
point_at "$prompt"
xdotool type --delay 50 aBc
xdotool key Return
rc=$(ended scene3) || fail "the right password in other letter case did not end the scene"
[ "$rc" = 0 ] || fail "the scene ended with exit code $rc"
set_value "$desktop" ScreenSaveUsePassword 0

echo "-- /A: a mismatch stores nothing; abc twice stores the scrambled ABC"
set_value "$settings" misc ""
start newpw /A
dialog=$(window '^Change  Password$') || fail "no set-password dialog"
point_at "$dialog"
xdotool type --delay 50 abc
xdotool key Tab
xdotool type --delay 50 abd
xdotool key Tab space
box=$(window '^Microsoft Windows$') || fail "no mismatch message"
point_at "$box"
xdotool key Return
sleep 0.5
[ -z "$(reg_value "$settings" misc)" ] || fail "a mismatch stored '$(reg_value "$settings" misc)'"
[ ! -s "$work/newpw.rc" ] || fail "the dialog closed after a mismatch"
point_at "$dialog"
xdotool key Tab space
rc=$(ended newpw) || fail "Cancel did not close the dialog"
[ -z "$(reg_value "$settings" misc)" ] || fail "Cancel stored a password"
start newpw2 /A
dialog=$(window '^Change  Password$') || fail "no set-password dialog"
point_at "$dialog"
xdotool type --delay 50 abc
xdotool key Tab
xdotool type --delay 50 abc
xdotool key Tab space
rc=$(ended newpw2) || fail "OK did not close the dialog"
[ "$rc" = 0 ] || fail "/A ended with exit code $rc"
[ "$(reg_value "$settings" misc)" = "$scrambled_abc" ] || fail "misc is '$(reg_value "$settings" misc)'"

echo "-- /P: the picture goes into a host window; the preview ends with the host or on a close request"
timeout 30 wine "$host" "$scr" destroy | tr -d '\r' || fail "the preview did not follow its host"
timeout 30 wine "$host" "$scr" close | tr -d '\r' || fail "the preview did not end on a close request"

wine reg delete "$settings" /f >/dev/null 2>&1 || true
echo "Windows scene checks passed"
