#!/usr/bin/env bash
# Installs Kolvane with its installer under Wine as a script would (/S), runs the installed kolvane.scr /S from the
# system folder, and uninstalls it (/S): every file in its place and then gone, install_path, the Apps entry and
# the current screen saver set and taken back, the user's list files and settings kept. Needs WINEPREFIX and
# DISPLAY (scripts/test sets both). Arguments: the installer, kolvane.scr, the assets folder.
set -euo pipefail
setup=$1
scr=$2
assets=$3
source "$(dirname "$0")/wine_common.sh" installer
version=$(basename "$setup" .exe)
version=${version#kolvane-setup-}
apps='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolvane'
sysdir="$windir/system32"
instdir="$WINEPREFIX/drive_c/Program Files/Kolvane"
# What the installer puts into the installation folder, with the asset each comes from (none: made by it).
declare -A sources=([title.wav]=sounds/title.wav [nebula-drift.mid]=music/nebula-drift.mid
  [orbit-lullaby.mid]=music/orbit-lullaby.mid [kolvane.html]= [uninstall.exe]=)
for i in 1 2 3 4 5 6 7 8 9; do sources[orvel$i.wav]=sounds/orvel$i.wav; done

program='C:\windows\system32\kolvane.scr'
forget() {
  wine reg delete "$settings" /f >/dev/null 2>&1 || true
  wine reg delete "$apps" /f >/dev/null 2>&1 || true
  wine reg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null 2>&1 || true
  rm -rf "$instdir"
  rm -f "$sysdir/kolvane.scr" "$windir/Kolvane Captions.dat" "$windir/Kolvane Audio Files.dat"
}
check_cleanup() { forget; }
begin_scratch
# Waits up to 30 seconds for a command to succeed (the uninstaller runs on from a copy of itself).
eventually() {
  for _ in $(seq 150); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}
installed_files_gone() {
  local name
  [ ! -e "$sysdir/kolvane.scr" ] || return 1
  for name in "${!sources[@]}"; do [ ! -e "$instdir/$name" ] || return 1; done
  [ ! -e "$instdir" ]
}
apps_entry_gone() { ! wine reg query "$apps" >/dev/null 2>&1; }

forget
[ -f "$setup" ] || fail "no installer at $setup"
echo "installer: $(basename "$setup"), $(stat -c %s "$setup") bytes"

echo "-- /S installs kolvane.scr into the system folder, the sounds and the help page into Program Files"
timeout 120 wine "$setup" /S || fail "the silent install ended with code $?"
eventually test -e "$instdir/uninstall.exe" || fail "no uninstaller in the installation folder"
cmp -s "$scr" "$sysdir/kolvane.scr" || fail "kolvane.scr in the system folder is not the one built"
for name in "${!sources[@]}"; do
  [ -s "$instdir/$name" ] || fail "$name is not in the installation folder"
  [ -z "${sources[$name]}" ] || cmp -s "$assets/${sources[$name]}" "$instdir/$name" || fail "$name differs from its asset"
done
[ "$(ls "$instdir" | wc -l)" = "${#sources[@]}" ] || fail "the installation folder holds more: $(ls "$instdir" | tr '\n' ' ')"
grep -q 'Kolvane Captions.dat' "$instdir/kolvane.html" || fail "the help page does not name the list files"
[ "$(reg_value "$settings" install_path)" = 'C:\Program Files\Kolvane\' ] ||
  fail "install_path is '$(reg_value "$settings" install_path)'"
[ "$(reg_value "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\kolvane.scr' ] ||
  fail "Kolvane is not the current screen saver: '$(reg_value "$desktop" SCRNSAVE.EXE)'"
[ "$(reg_value "$apps" DisplayName)" = 'Kolvane Screen Saver' ] || fail "Apps shows '$(reg_value "$apps" DisplayName)'"
[ "$(reg_value "$apps" DisplayVersion)" = "$version" ] || fail "Apps has version '$(reg_value "$apps" DisplayVersion)'"
[ "$(reg_value "$apps" Publisher)" = 'Dravik Software' ] || fail "Apps has publisher '$(reg_value "$apps" Publisher)'"
[ "$(reg_value "$apps" UninstallString)" = '"C:\Program Files\Kolvane\uninstall.exe"' ] ||
  fail "UninstallString is '$(reg_value "$apps" UninstallString)'"
[ "$(reg_value "$apps" QuietUninstallString)" = '"C:\Program Files\Kolvane\uninstall.exe" /S' ] ||
  fail "QuietUninstallString is '$(reg_value "$apps" QuietUninstallString)'"
size_kb=$(( $(reg_value "$apps" EstimatedSize) ))
installed_kb=$(( ($(du -sb "$instdir" | cut -f1) + $(stat -c %s "$sysdir/kolvane.scr")) / 1024 ))
[ "$size_kb" -ge $((installed_kb - 16)) ] && [ "$size_kb" -le $((installed_kb + 16)) ] ||
  fail "EstimatedSize is $size_kb KB for $installed_kb KB installed"
echo "installed: $installed_kb KB, EstimatedSize $size_kb KB"

echo "-- kolvane.scr /S from the system folder runs the scene with the installed sounds"
store_value "$settings" cycle_speed_value 100
store_value "$desktop" ScreenSaveUsePassword 0
start scene /S
win=$(window '^screen saver running$') || fail "no scene (install-folder message: $(xdotool search --name '^Kolvane Screen Saver$' | wc -l))"
[ -z "$(xdotool search --name '^Kolvane Screen Saver$' 2>/dev/null)" ] || fail "the install-folder message showed"
sleep 1
for _ in 1 2 3; do
  point_at "$win"
  xdotool key x
  code=$(ended scene) && break
done
[ "${code:-}" = 0 ] || fail "the scene did not end on a key with code 0 (${code:-still running})"
first=$(head -1 "$windir/Kolvane Audio Files.dat" | tr -d '\r')
[ "$first" = 'C:\Program Files\Kolvane\orvel1.wav' ] || fail "the default audio list starts with '$first'"
while IFS= read -r line; do
  line=${line%$'\r'}
  file="$WINEPREFIX/drive_c/$(printf '%s' "${line#C:\\}" | tr '\\' /)"
  [ -s "$file" ] || fail "the default sound $line is not installed"
done <"$windir/Kolvane Audio Files.dat"
[ "$(reg_value "$settings" run_once)" = 1 ] || fail "the first run was not marked done"
cp "$windir/Kolvane Captions.dat" "$work/captions"
cp "$windir/Kolvane Audio Files.dat" "$work/audio"

echo "-- the Apps entry's quiet uninstall removes every installed file and itself, and keeps the user's files"
# The program between the quotes, then its switches, as Apps would start it.
quiet=$(reg_value "$apps" QuietUninstallString)
uninstaller=${quiet#\"}
uninstaller=${uninstaller%%\"*}
timeout 60 wine "$uninstaller" ${quiet##*\" } || fail "the silent uninstall ended with code $?"
eventually installed_files_gone || fail "left behind: $(ls -A "$instdir" 2>/dev/null | tr '\n' ' ') $(ls "$sysdir/kolvane.scr" 2>/dev/null)"
eventually apps_entry_gone || fail "the Apps entry stayed"
[ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ] || fail "the current screen saver still names the removed file"
cmp -s "$work/captions" "$windir/Kolvane Captions.dat" || fail "the caption list was not kept"
cmp -s "$work/audio" "$windir/Kolvane Audio Files.dat" || fail "the audio list was not kept"
[ "$(reg_value "$settings" cycle_speed_value)" = 100 ] || fail "the user's settings were not kept"
[ "$(reg_value "$settings" install_path)" = 'C:\Program Files\Kolvane\' ] || fail "install_path was not kept"
echo "Windows installer checks passed"
