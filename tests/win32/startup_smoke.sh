#!/usr/bin/env bash
# Drives kolvane.scr under Wine in the test display: unknown switches, the install-folder message,
# and the first run's list files and registry mark (written by a /S run that a key ends). Needs WINEPREFIX and DISPLAY (scripts/test sets both).
set -euo pipefail
scr=$1
: "${WINEPREFIX:?}" "${DISPLAY:?}"
export WINEDEBUG=-all
fail() { echo "FAIL: $*" >&2; exit 1; }
settings='HKCU\Software\VB and VBA Program Settings\Dravik Kolvane\Config'
windir="$WINEPREFIX/drive_c/windows"
reg_value() { wine reg query "$settings" /v "$1" 2>/dev/null | tr -d '\r' | awk -v k="$1" '$1 == k { print $3 }'; }

wine reg delete "$settings" /f >/dev/null 2>&1 || true
rm -f "$windir/Kolvane Captions.dat" "$windir/Kolvane Audio Files.dat"

# /S without an install folder, and with one that is not there: the message box, and the program ends after OK.
wine reg delete 'HKLM\Software\VB and VBA Program Settings\Dravik Kolvane' /f >/dev/null 2>&1 || true
for missing in '' 'C:\No Such Kolvane'; do
  [ -z "$missing" ] || wine reg add "$settings" /v install_path /t REG_SZ /d "$missing" /f >/dev/null
  wine "$scr" /S &
  pid=$!
  win=$(timeout 20 xdotool search --sync --name '^Kolvane Screen Saver$' | head -1) ||
    fail "no install-folder message box (install_path '$missing')"
  text=$(xdotool getwindowname "$win")
  [ "$text" = "Kolvane Screen Saver" ] || fail "message box title is '$text'"
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.3
  xdotool key Return
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "program still running after OK"
  wait $pid || true
  [ ! -e "$windir/Kolvane Captions.dat" ] || fail "lists written without an install folder"
done

mkdir -p "$WINEPREFIX/drive_c/Program Files/Kolvane"
wine reg add "$settings" /v install_path /t REG_SZ /d 'C:\Program Files\Kolvane' /f >/dev/null

# /X and -s open nothing and end.
for sw in /X -s; do
  timeout 20 wine "$scr" $sw || fail "$sw did not end cleanly"
done
[ -z "$(xdotool search --name . 2>/dev/null | xargs -r -n1 xdotool getwindowname 2>/dev/null | grep -i kolvane)" ] ||
  fail "a window was left open"

# With the install folder set, the first start writes both lists and marks the first run.
wine reg delete "$settings" /v run_once /f >/dev/null 2>&1 || true
rm -f "$windir/Kolvane Captions.dat" "$windir/Kolvane Audio Files.dat"
wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_SZ /d 0 /f >/dev/null 2>&1
wine "$scr" /S 2>/dev/null &
pid=$!
win=$(timeout 20 xdotool search --sync --name '^screen saver running$' | head -1) || fail "/S opened no scene"
eval "$(xdotool getwindowgeometry --shell "$win")"
# A key in the frame that ends an 80-frame block is forgotten: up to three tries.
for _ in 1 2 3; do
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2 + 1))
  sleep 0.3
  xdotool key x
  for _ in $(seq 30); do kill -0 $pid 2>/dev/null || break 2; sleep 0.1; done
done
kill -0 $pid 2>/dev/null && fail "the scene did not end on a key"
wait $pid || fail "the scene ended with exit code $?"
printf 'Welcome To Kolvane Screen Saver\r\nYou can adjust the frame rate and how often to launch an object\r\n' |
  cmp - "$windir/Kolvane Captions.dat" || fail "caption defaults differ"
expected=""
for i in 1 2 3 4 5 6 7 8 9; do expected+='C:\\Program Files\\Kolvane\\'"orvel$i.wav\r\n"; done
printf "$expected" | cmp - "$windir/Kolvane Audio Files.dat" || fail "audio defaults differ"
[ "$(reg_value run_once)" = 1 ] || fail "run_once is '$(reg_value run_once)'"
wine reg delete "$settings" /f >/dev/null 2>&1 || true
echo "Windows startup smoke checks passed"
