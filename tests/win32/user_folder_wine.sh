#!/usr/bin/env bash
# kolvane.scr under Wine with a Windows directory it cannot write, as a standard user on current Windows: the
# caption list left there is read until the first save, saved captions land in %LOCALAPPDATA%\Kolvane and are
# read back, and the first run's lists and the wallpaper picture go there too. The folder is made read-only and
# Wine runs without root's power to write past that (its server too, for it is the one that writes files).
# Needs WINEPREFIX and DISPLAY (scripts/test sets both). Arguments: kolvane.scr, the dialog_probe helper.
set -euo pipefail
scr=$1
probe_exe=$2
source "$(dirname "$0")/wine_common.sh" user-folder

if [ -z "${KOLVANE_WINDOWS_DIR_LOCKED:-}" ]; then
  # With every right: the starting state, then the lock, and afterwards everything put back.
  wine reg delete "$settings" /f >/dev/null 2>&1 || true
  rm -f "$windir/Kolvane Audio Files.dat" "$windir/Kolvane Image.bmp"
  printf 'From the Windows directory\r\n' >"$windir/Kolvane Captions.dat"
  for _ in 1 2 3; do
    local_appdata=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
    [[ "$local_appdata" == C:\\* ]] && break
  done
  [[ "$local_appdata" == C:\\* ]] || { echo "FAIL: LOCALAPPDATA is '$local_appdata'" >&2; exit 1; }
  user_dir="$WINEPREFIX/drive_c/$(printf '%s' "${local_appdata#C:\\}" | tr '\\' /)/Kolvane"
  rm -rf "$user_dir"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  restore() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    chmod u+w "$windir"
    rm -f "$windir/Kolvane Captions.dat"
    rm -rf "$user_dir"
    wine reg delete "$settings" /f >/dev/null 2>&1 || true
    # The fast-starting server the other checks expect, with every right again.
    wineserver -p </dev/null >/dev/null 2>&1 || true
  }
  trap restore EXIT
  chmod a-w "$windir"
  lock=()
  [ "$(id -u)" = 0 ] && lock=(setpriv --bounding-set=-dac_override,-dac_read_search)
  KOLVANE_WINDOWS_DIR_LOCKED=1 KOLVANE_USER_DIR="$user_dir" KOLVANE_LOCAL_APPDATA="$local_appdata" \
    "${lock[@]}" "$0" "$@"
  exit
fi

user_dir=$KOLVANE_USER_DIR
user_dir_windows="$KOLVANE_LOCAL_APPDATA\\Kolvane"
begin_scratch
if touch "$windir/kolvane-write-probe" 2>/dev/null; then
  rm -f "$windir/kolvane-write-probe"
  fail "the Windows directory could not be made unwritable"
fi
wineserver -p </dev/null >/dev/null 2>&1 || true

program=$scr
probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
keys() {
  local id=$1
  shift
  point_at "$id"
  xdotool key --delay 60 "$@"
  sleep 0.4
}
lines() { printf '%s\n' "$@"; }
# Keys for the scene until it ends; prints its exit code.
key_ends() {
  local win code
  win=$(window '^screen saver running$') || return 1
  for _ in 1 2 3; do
    point_at "$win"
    xdotool key x
    code=$(ended "$1") && { echo "$code"; return 0; }
  done
  return 1
}
# The program stops with its install-folder message unless the folder is there.
mkdir -p "$WINEPREFIX/drive_c/Program Files/Kolvane"
store_value "$settings" install_path 'C:\Program Files\Kolvane'
store_value "$settings" run_once 1
store_value "$desktop" ScreenSaveUsePassword 0
store_value "$settings" cycle_speed_value 100
title='^Kolvane Screen Saver Configuration$'
captions='Edit Screen Saver Captions'

# The first program with windows in a new Wine session now and then ends at once; one start may fail.
start warmup /C
if warm=$(window "$title"); then keys "$warm" alt+F4; fi
ended warmup >/dev/null || true
no_window "$title" || true

echo "-- the caption list of the Windows directory is shown; Save And Exit puts it into $user_dir_windows"
start conf /C
cfg=$(window "$title") || fail "no configuration window"
keys "$cfg" alt+o
opt=$(window '^Screen Saver Options$') || fail "no options dialog"
keys "$opt" alt+c
cap=$(window "^$captions\$") || fail "no captions dialog"
[ "$(probe "$captions" 1501 lines)" = "From the Windows directory" ] ||
  fail "the Windows directory's list is not shown: $(probe "$captions" 1501 lines)"
point_at "$cap"
xdotool key Tab
xdotool type --delay 40 "Saved by a standard user"
xdotool key Return
sleep 0.3
keys "$cap" alt+e
no_window "^$captions\$" || fail "Save And Exit did not close the captions dialog (it stays open when no folder took the list)"
printf 'From the Windows directory\r\nSaved by a standard user\r\n' | cmp -s - "$user_dir/Kolvane Captions.dat" ||
  fail "the per-user caption list holds: $(od -c "$user_dir/Kolvane Captions.dat" 2>&1 | head -3)"
printf 'From the Windows directory\r\n' | cmp -s - "$windir/Kolvane Captions.dat" || fail "the Windows directory's list changed"
echo "-- opened again, the dialog reads the saved captions back"
keys "$opt" alt+c
cap=$(window "^$captions\$") || fail "no captions dialog the second time"
[ "$(probe "$captions" 1501 lines)" = "$(lines 'From the Windows directory' 'Saved by a standard user')" ] ||
  fail "the saved captions were not read back: $(probe "$captions" 1501 lines)"
keys "$cap" alt+c
no_window "^$captions\$" || fail "Cancel did not close the captions dialog"
keys "$opt" alt+o
no_window '^Screen Saver Options$' || fail "Ok did not close the options dialog"
keys "$cfg" alt+F4
rc=$(ended conf) || fail "the configuration window did not end"
[ "$rc" = 0 ] || fail "the configuration ended with code $rc"

echo "-- a first run writes the list that is missing there (the Windows directory's captions stay), marks itself done, and the wallpaper picture lands there too"
delete_value "$settings" run_once
rm -rf "$user_dir"
store_value "$settings" save_as_wallpaper 1
start scene /S
rc=$(key_ends scene) || fail "a key did not end the scene"
[ "$rc" = 0 ] || fail "the scene ended with code $rc"
[ ! -e "$user_dir/Kolvane Captions.dat" ] ||
  fail "the first run wrote default captions over the Windows directory's list: $(head -c 80 "$user_dir/Kolvane Captions.dat")"
printf 'From the Windows directory\r\n' | cmp -s - "$windir/Kolvane Captions.dat" || fail "the Windows directory's list changed"
[ "$(head -1 "$user_dir/Kolvane Audio Files.dat" | tr -d '\r')" = 'C:\Program Files\Kolvane\orvel1.wav' ] ||
  fail "no default audio list in the per-user folder: $(ls -A "$user_dir" 2>&1 | tr '\n' ' ')"
[ "$(reg_value "$settings" run_once)" = 1 ] || fail "the first run was not marked done"
[ "$(identify -format '%wx%h' "$user_dir/Kolvane Image.bmp" 2>/dev/null)" = 1024x768 ] ||
  fail "no wallpaper picture in the per-user folder"
[ "$(reg_value "$desktop" Wallpaper)" = "$user_dir_windows\\Kolvane Image.bmp" ] ||
  fail "the wallpaper is '$(reg_value "$desktop" Wallpaper)'"
[ ! -e "$windir/Kolvane Audio Files.dat" ] && [ ! -e "$windir/Kolvane Image.bmp" ] ||
  fail "a file appeared in the unwritable Windows directory"
echo "Windows per-user folder checks passed"
