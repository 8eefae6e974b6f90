#!/usr/bin/env bash
# Drives kolvane.scr's configuration window and its dialogs under Wine in the test display with real keys and
# clicks, and checks what they store: settings in the registry, the caption and audio list files.
# Needs WINEPREFIX and DISPLAY (scripts/test sets both). Arguments: kolvane.scr, the dialog_probe and
# started_marker helpers, the assets folder. With KOLVANE_SHOTS set, a screenshot of each dialog lands there.
set -euo pipefail
scr=$1
probe_exe=$2
marker=$3
assets=$4
source "$(dirname "$0")/wine_common.sh" config
shots=${KOLVANE_SHOTS:-}
msinfo='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
msinfo_location='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
conf="$WINEPREFIX/drive_c/kolvane-conf"  # the installation folder, kolvane.scr's own folder too
check_cleanup() {
  wine reg delete "$msinfo" /f >/dev/null 2>&1 || true
  wine reg delete "$msinfo_location" /f >/dev/null 2>&1 || true
  wine reg delete "$settings" /f >/dev/null 2>&1 || true
  rm -f "$windir/Kolvane Captions.dat" "$windir/Kolvane Audio Files.dat"
  rm -rf "$conf"
}
begin_scratch
# A value that must be there: a reg run that Wine could not start reads as empty, so ask once more.
reg_stored() {
  local v
  for _ in 1 2 3; do
    v=$(reg_value "$1" "$2")
    [ -n "$v" ] && break
    sleep 0.5
  done
  printf '%s' "$v"
}
# A control of a window of kolvane.scr, read by the helper: text, pos (scroll bar), check or lines (list box).
probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
# With KOLVANE_SHOTS set: the screen with the pointer resting on a window's title bar, where no tip shows,
# or with a third argument on the control of that id, so that its tip shows.
shot() {
  [ -n "$shots" ] || return 0
  eval "$(xdotool getwindowgeometry --shell "$2")"
  xdotool mousemove $((X + 60)) $((Y + 8))
  if [ $# -gt 2 ]; then
    eval "$(wine "$probe_exe" "$(xdotool getwindowname "$2")" "$3" place 2>/dev/null | tr -d '\r')"
    xdotool mousemove $((X + LEFT + 10)) $((Y + TOP + 5))
    sleep 1.5
  else
    sleep 0.6
  fi
  import -window root "$shots/$1.png"
}

# kolvane.scr runs from the installation folder.
program='C:\kolvane-conf\kolvane.scr'
# Keys for a window, the pointer on it first.
keys() {
  local id=$1
  shift
  point_at "$id"
  xdotool key --delay 60 "$@"
  sleep 0.4
}
# A click on the close box at the right end of the window's own title bar.
close_box() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH - 12)) $((Y + 11))
  sleep 0.2
  xdotool click 1
  sleep 0.4
}
# Waits up to 5 seconds for a file to appear.
appears() {
  for _ in $(seq 50); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
lines() { printf '%s\n' "$@"; }

# The installation folder holds the program, a few sounds and a file of another kind.
rm -rf "$conf"
mkdir -p "$conf"
cp "$scr" "$conf/kolvane.scr"
cp "$assets/sounds/orvel1.wav" "$conf/one.wav"
cp "$assets/sounds/orvel2.wav" "$conf/two.wav"
cp "$(ls "$assets"/music/*.mid | head -1)" "$conf/piece.mid"
echo "not a sound" >"$conf/notes.txt"
wine reg delete "$settings" /f >/dev/null 2>&1 || true
wine reg delete "$msinfo" /f >/dev/null 2>&1 || true
wine reg delete "$msinfo_location" /f >/dev/null 2>&1 || true
set_value "$settings" install_path 'C:\kolvane-conf'
set_value "$settings" run_once 1
set_value "$settings" frame_rate 45
set_value "$settings" cycle_speed_value 7
set_value "$settings" save_as_wallpaper 0
set_value "$settings" audio_on 1
set_value "$desktop" ScreenSaveUsePassword 0
printf 'Existing caption\r\n' >"$windir/Kolvane Captions.dat"
printf 'C:\\old.wav\r\n' >"$windir/Kolvane Audio Files.dat"
title='^Kolvane Screen Saver Configuration$'

# The first program with windows in a new Wine session now and then ends at once with code 1 before it
# shows anything (seen only then, not explained yet); one start that is allowed to fail warms Wine up.
start warmup /C
if warm=$(window "$title"); then
  keys "$warm" alt+F4
fi
ended warmup >/dev/null || true
no_window "$title" || true

echo "-- no switch and /C:<window> open the configuration window; Alt+F4 or its close box end the program with 0"
start plain
cfg=$(window "$title") || fail "no configuration window without a switch (the run ended: $(cat "$work/plain.rc" 2>/dev/null || echo no); $(grep -v fixme "$work/plain.err" | tail -5))"
keys "$cfg" alt+F4
rc=$(ended plain) || fail "Alt+F4 did not end the program"
[ "$rc" = 0 ] || fail "the program ended with exit code $rc"
no_window "$title" || fail "the configuration window stayed"
start owned /C:65552
cfg=$(window "$title") || fail "no configuration window for /C:<window>"
close_box "$cfg"
rc=$(ended owned) || fail "the close box did not end the program"
[ "$rc" = 0 ] || fail "the program ended with exit code $rc after the close box"
no_window "$title" || fail "the configuration window stayed"

echo "-- /C opens it; a second /C opens nothing"
start conf /C
cfg=$(window "$title") || fail "no configuration window for /C"
shot configuration "$cfg" 1201
timeout 20 wine 'C:\kolvane-conf\kolvane.scr' /C >/dev/null 2>&1 || fail "a second /C did not end cleanly"
[ "$(xdotool search --name "$title" | wc -l)" = 1 ] || fail "a second configuration window opened"

echo "-- Options shows the stored values; a slider moved by keys and the close box store the new value"
keys "$cfg" alt+o
opt=$(window '^Screen Saver Options$') || fail "Options opened no options dialog"
[ "$(probe 'Screen Saver Options' 1315 pos)" = 9 ] || fail "45 ms shows as $(probe 'Screen Saver Options' 1315 pos), not 9"
[ "$(probe 'Screen Saver Options' 1311 pos)" = 7 ] || fail "the scene length shows as $(probe 'Screen Saver Options' 1311 pos)"
[ "$(probe 'Screen Saver Options' 1341 check)" = 1 ] || fail "Play Audio is not ticked"
[ "$(probe 'Screen Saver Options' 1344 check)" = 0 ] || fail "Save As Wallpaper is ticked"
shot options "$opt"
shot options-tip "$opt" 1344
# The focus starts on the first slider; four tabs reach the frame rate's.
keys "$opt" Tab Tab Tab Tab Right alt+w
[ "$(probe 'Screen Saver Options' 1315 pos)" = 10 ] || fail "Right moved the frame rate slider to $(probe 'Screen Saver Options' 1315 pos)"
[ "$(reg_stored "$settings" frame_rate)" = 45 ] || fail "the frame rate was stored while the dialog was open"
close_box "$opt"
no_window '^Screen Saver Options$' || fail "the close box did not close the options dialog"
[ "$(reg_stored "$settings" frame_rate)" = 50 ] || fail "frame_rate is '$(reg_value "$settings" frame_rate)' after the close box, not 50"
[ "$(reg_stored "$settings" save_as_wallpaper)" = 1 ] || fail "Alt+W did not tick Save As Wallpaper"
[ "$(reg_stored "$settings" cycle_speed_value)" = 7 ] || fail "cycle_speed_value changed to '$(reg_value "$settings" cycle_speed_value)'"

echo "-- Edit Captions: two lines typed with Enter; Save And Exit writes them, Cancel and the close box nothing"
keys "$cfg" alt+o
opt=$(window '^Screen Saver Options$') || fail "Options opened no options dialog"
[ "$(probe 'Screen Saver Options' 1315 pos)" = 10 ] || fail "the options dialog does not show the stored 50 ms"
keys "$opt" alt+c
cap=$(window '^Edit Screen Saver Captions$') || fail "Edit Captions opened no captions dialog"
[ "$(probe 'Edit Screen Saver Captions' 1501 lines)" = "Existing caption" ] || fail "the caption file is not listed"
point_at "$cap"
xdotool key Tab
xdotool type --delay 40 "First caption"
xdotool key Return ctrl+a
xdotool type --delay 40 "Second caption"
xdotool key Return
sleep 0.3
shot captions "$cap"
[ "$(probe 'Edit Screen Saver Captions' 1501 lines)" = "$(lines 'Existing caption' 'First caption' 'Second caption')" ] ||
  fail "Enter did not add the lines: $(probe 'Edit Screen Saver Captions' 1501 lines)"
[ "$(probe 'Edit Screen Saver Captions' 1502 text)" = "Second caption" ] || fail "the typed text did not stay"
keys "$cap" alt+e
no_window '^Edit Screen Saver Captions$' || fail "Save And Exit did not close the captions dialog"
printf 'Existing caption\r\nFirst caption\r\nSecond caption\r\n' | cmp -s - "$windir/Kolvane Captions.dat" ||
  fail "the caption file holds: $(od -c "$windir/Kolvane Captions.dat" | head -5)"
for closing in alt+c close_box; do
  keys "$opt" alt+c
  cap=$(window '^Edit Screen Saver Captions$') || fail "Edit Captions opened no captions dialog"
  point_at "$cap"
  xdotool key Tab
  xdotool type --delay 40 "Not kept"
  xdotool key Return
  sleep 0.3
  [ "$(probe 'Edit Screen Saver Captions' 1501 lines | wc -l)" = 4 ] || fail "Enter did not add a line"
  if [ "$closing" = close_box ]; then close_box "$cap"; else keys "$cap" alt+c; fi
  no_window '^Edit Screen Saver Captions$' || fail "$closing did not close the captions dialog"
  printf 'Existing caption\r\nFirst caption\r\nSecond caption\r\n' | cmp -s - "$windir/Kolvane Captions.dat" ||
    fail "$closing changed the caption file"
done

echo "-- Edit Captions with 101 lines in the file: the first 100 and a message; Save asks, and No keeps the file"
cp "$windir/Kolvane Captions.dat" "$work/captions-kept"
for i in $(seq 101); do printf 'line %s\r\n' "$i"; done >"$windir/Kolvane Captions.dat"
cp "$windir/Kolvane Captions.dat" "$work/captions-101"
keys "$opt" alt+c
box=$(window '^Screen Saver Captions$') || fail "no message about the captions left out"
shot message-captions-cut "$box"
keys "$box" Return
cap=$(window '^Edit Screen Saver Captions$') || fail "Edit Captions opened no captions dialog"
[ "$(probe 'Edit Screen Saver Captions' 1501 lines | wc -l)" = 100 ] || fail "the dialog does not show the first 100 captions"
keys "$cap" alt+e
box=$(window '^Screen Saver Captions$') || fail "Save did not ask before replacing the over-full caption file"
keys "$box" n
no_window '^Screen Saver Captions$' || fail "No did not close the question"
cmp -s "$work/captions-101" "$windir/Kolvane Captions.dat" || fail "No to the question still replaced the caption file"
keys "$cap" alt+c
no_window '^Edit Screen Saver Captions$' || fail "Cancel did not close the captions dialog"
cp "$work/captions-kept" "$windir/Kolvane Captions.dat"

echo "-- Edit Audio Files: the selected sounds of the folder are added and saved; Cancel writes nothing"
audio_title='Edit Screen Saver Audio Files ( .wav .mid )'
keys "$opt" alt+e
aud=$(window '^Edit Screen Saver Audio Files \( \.wav \.mid \)$') || fail "Edit Audio Files opened no audio dialog"
[ "$(probe "$audio_title" 1404 lines)" = "$(lines one.wav piece.mid two.wav)" ] ||
  fail "the file list shows: $(probe "$audio_title" 1404 lines)"
[ "$(probe "$audio_title" 1408 lines)" = 'C:\old.wav' ] || fail "the audio list file is not listed"
# From the drive list two tabs reach the file list; Home takes the first file, Shift+Down the next as well.
keys "$aud" Tab Tab Home shift+Down alt+s
sleep 0.3
shot audio "$aud"
[ "$(probe "$audio_title" 1408 lines)" = "$(lines 'C:\old.wav' 'C:\kolvane-conf\one.wav' 'C:\kolvane-conf\piece.mid')" ] ||
  fail "Add Selected gave: $(probe "$audio_title" 1408 lines)"
keys "$aud" alt+e
no_window '^Edit Screen Saver Audio Files' || fail "Save And Exit did not close the audio dialog"
printf 'C:\\old.wav\r\nC:\\kolvane-conf\\one.wav\r\nC:\\kolvane-conf\\piece.mid\r\n' | cmp -s - "$windir/Kolvane Audio Files.dat" ||
  fail "the audio list file holds: $(cat "$windir/Kolvane Audio Files.dat")"
keys "$opt" alt+e
aud=$(window '^Edit Screen Saver Audio Files \( \.wav \.mid \)$') || fail "Edit Audio Files opened no audio dialog"
keys "$aud" alt+a
[ "$(probe "$audio_title" 1408 lines | wc -l)" = 6 ] || fail "Add All did not add the three files"
keys "$aud" alt+c
no_window '^Edit Screen Saver Audio Files' || fail "Cancel did not close the audio dialog"
printf 'C:\\old.wav\r\nC:\\kolvane-conf\\one.wav\r\nC:\\kolvane-conf\\piece.mid\r\n' | cmp -s - "$windir/Kolvane Audio Files.dat" ||
  fail "Cancel changed the audio list file"

echo "-- Password opens the set-password dialog over the options; OK stores the password, Ok keeps it"
keys "$opt" alt+p
pw=$(window '^Change  Password$') || fail "Password opened no set-password dialog"
shot password "$pw"
point_at "$pw"
xdotool type --delay 40 abc
xdotool key Tab
xdotool type --delay 40 abc
xdotool key Tab space
no_window '^Change  Password$' || fail "OK did not close the set-password dialog"
[ "$(reg_stored "$settings" misc)" = xizkyh ] || fail "misc is '$(reg_value "$settings" misc)' after the new password"
keys "$opt" alt+o
no_window '^Screen Saver Options$' || fail "Ok did not close the options dialog"
[ "$(reg_stored "$settings" misc)" = xizkyh ] || fail "closing the options lost the password: misc is '$(reg_value "$settings" misc)'"
[ "$(reg_stored "$settings" frame_rate)" = 50 ] || fail "Ok stored frame_rate '$(reg_value "$settings" frame_rate)'"

echo "-- About: title and version; System Info from the registry, or the message; Escape and Enter close it"
cp "$marker" "$conf/msinfo.exe"
wine reg add "$msinfo" /v PATH /t REG_SZ /d 'C:\kolvane-conf\msinfo.exe' /f >/dev/null 2>&1
keys "$cfg" alt+a
about=$(window '^About Kolvane Screen Saver$') || fail "About opened no About box"
[ "$(probe 'About Kolvane Screen Saver' 1603 text)" = "Version 2.0.8" ] || fail "the version reads '$(probe 'About Kolvane Screen Saver' 1603 text)'"
[ "$(probe 'About Kolvane Screen Saver' 1602 text)" = "Kolvane Screen Saver" ] || fail "the title reads '$(probe 'About Kolvane Screen Saver' 1602 text)'"
shot about "$about" 1623
keys "$about" alt+s
appears "$conf/msinfo.exe.started" || fail "System Info did not start the registry's program"
wine reg delete "$msinfo" /f >/dev/null 2>&1
wine reg add "$msinfo_location" /v MSINFO /t REG_SZ /d 'C:\kolvane-conf' /f >/dev/null 2>&1
keys "$about" alt+s
box=$(window '^scrnsave:Kolvane$') || fail "no message when MSINFO32.EXE is missing"
keys "$box" Return
no_window '^scrnsave:Kolvane$' || fail "the System Info message stayed"
keys "$about" alt+c
box=$(window '^Error!$') || fail "no message when the web page cannot be opened"
keys "$box" Return
no_window '^Error!$' || fail "the browser message stayed"
xdotool search --name '^About Kolvane Screen Saver$' >/dev/null || fail "the About box closed after a message"
keys "$about" Escape
no_window '^About Kolvane Screen Saver$' || fail "Escape did not close the About box"
keys "$cfg" alt+a
about=$(window '^About Kolvane Screen Saver$') || fail "About opened no About box"
keys "$about" Return
no_window '^About Kolvane Screen Saver$' || fail "Enter did not close the About box"

echo "-- Dravik Products: the message when the program is missing, the program when it is there"
keys "$cfg" alt+d
box=$(window '^Error!$') || fail "no message for a missing Dravik_Products.exe"
keys "$box" Return
no_window '^Error!$' || fail "the products message stayed"
cp "$marker" "$conf/Dravik_Products.exe"
keys "$cfg" alt+d
appears "$conf/Dravik_Products.exe.started" || fail "Dravik Products did not start Dravik_Products.exe"
[ -z "$(xdotool search --name '^Error!$' 2>/dev/null)" ] || fail "a message came although the program started"

echo "-- Preview runs the scene; a key ends it and the window is usable again"
keys "$cfg" alt+p
window '^screen saver running$' >/dev/null || fail "Preview showed no scene"
sleep 2
[ -z "$shots" ] || import -window root "$shots/preview.png"
for _ in 1 2 3; do
  xdotool mousemove 200 200
  sleep 0.1
  xdotool mousemove 300 300
  sleep 0.3
  xdotool key x
  no_window '^screen saver running$' && break
done
no_window '^screen saver running$' || fail "a key did not end the preview"
[ ! -s "$work/conf.rc" ] || fail "the program ended with the preview"
keys "$cfg" alt+a
about=$(window '^About Kolvane Screen Saver$') || fail "the window does not answer after the preview"
keys "$about" Escape
no_window '^About Kolvane Screen Saver$' || fail "Escape did not close the About box"

# The stored form of a password as the program scrambles it.
scrambled() {
  python3 -c 'import sys
k = b"qiHTW"
print("".join(chr(122 - (c ^ k[(i + 1) % 5]) // 16) + chr(97 + (c ^ k[(i + 1) % 5]) % 16)
              for i, c in enumerate(sys.argv[1].encode("latin-1"))))' "$1"
}
# Types a password twice in the set-password dialog and presses OK.
new_password() {
  point_at "$1"
  xdotool type --delay 40 "$2"
  xdotool key Tab
  xdotool type --delay 40 "$3"
  xdotool key Tab space
}

echo "-- a password set by /A while the options are open survives their Ok"
keys "$cfg" alt+o
opt=$(window '^Screen Saver Options$') || fail "Options opened no options dialog"
start elsewhere /A
pw=$(window '^Change  Password$') || fail "/A opened no set-password dialog"
new_password "$pw" xyz xyz
rc=$(ended elsewhere) || fail "OK did not end the /A program"
[ "$(reg_stored "$settings" misc)" = "$(scrambled XYZ)" ] || fail "/A stored misc '$(reg_value "$settings" misc)'"
keys "$opt" alt+o
no_window '^Screen Saver Options$' || fail "Ok did not close the options dialog"
[ "$(reg_stored "$settings" misc)" = "$(scrambled XYZ)" ] ||
  fail "Ok in the options wrote its stale password over the new one: misc is '$(reg_value "$settings" misc)'"

echo "-- a password typed on a Russian layout is refused with a message (it was kept as 777777)"
setxkbmap ru
start russian /A
pw=$(window '^Change  Password$') || fail "/A opened no set-password dialog"
new_password "$pw" 'пароль' 'другой'
box=$(window '^Change Password$') || fail "no message for a Cyrillic password"
keys "$box" Return
no_window '^Change Password$' || fail "the message stayed"
[ ! -s "$work/russian.rc" ] || fail "the set-password dialog closed after the message"
[ "$(reg_stored "$settings" misc)" = "$(scrambled XYZ)" ] || fail "a Cyrillic password stored '$(reg_value "$settings" misc)'"
keys "$pw" Tab space
rc=$(ended russian) || fail "Cancel did not end the /A program"
setxkbmap us

echo "-- Exit ends the program with exit code 0"
keys "$cfg" alt+e
rc=$(ended conf) || fail "Exit did not end the program"
[ "$rc" = 0 ] || fail "Exit ended the program with exit code $rc"
no_window "$title" || fail "the configuration window stayed"

# The installer's install_path stays: without it the program stops before anything else.
echo "-- the first-run mark deleted with the settings: the next start is a first run and keeps both lists"
cp "$windir/Kolvane Captions.dat" "$work/captions-kept"
cp "$windir/Kolvane Audio Files.dat" "$work/audio-kept"
wine reg delete "$settings" /v run_once /f >/dev/null 2>&1 || fail "run_once could not be deleted"
start again /C
cfg=$(window "$title") || fail "no configuration window after the settings were deleted"
keys "$cfg" alt+e
ended again >/dev/null || fail "Exit did not end the program"
[ "$(reg_stored "$settings" run_once)" = 1 ] || fail "the start after the settings were deleted was no first run"
cmp -s "$work/captions-kept" "$windir/Kolvane Captions.dat" && cmp -s "$work/audio-kept" "$windir/Kolvane Audio Files.dat" ||
  fail "the first run after the settings were deleted replaced the lists: $(cat "$windir/Kolvane Captions.dat")"
echo "Windows configuration checks passed"
