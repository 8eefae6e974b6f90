#!/usr/bin/env bash
# Installs Kolvane with its installer under Wine as a script would (/S), runs the installed kolvane.scr /S from the
# system folder, and uninstalls it (/S): every file in its place and then gone, install_path, the Apps entry and
# the current screen saver set and taken back, the user's list files and settings kept. Also: an upgrade and an
# uninstall while the scene runs, a folder named in letters of the code page and one that is not. Needs
# WINEPREFIX and DISPLAY (scripts/test sets both). Arguments: the installer, kolvane.scr, the assets folder.
set -euo pipefail
setup=$1
scr=$2
assets=$3
source "$(dirname "$0")/wine_common.sh" installer
version=$(basename "$setup" .exe)
version=${version#kolvane-setup-}
apps='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolvane'
machine='HKLM\Software\VB and VBA Program Settings\Dravik Kolvane\Config'
sysdir="$windir/system32"
instdir="$WINEPREFIX/drive_c/Program Files/Kolvane"
# What the installer puts into the installation folder, with the asset each comes from (none: made by it).
declare -A sources=([title.wav]=sounds/title.wav [nebula-drift.mid]=music/nebula-drift.mid
  [orbit-lullaby.mid]=music/orbit-lullaby.mid [kolvane.html]= [uninstall.exe]=)
for i in 1 2 3 4 5 6 7 8 9; do sources[orvel$i.wav]=sounds/orvel$i.wav; done

program='C:\windows\system32\kolvane.scr'
scene_title='^screen saver running$'
accepted="$WINEPREFIX/drive_c/Program Files/Kölvane"
refused="$WINEPREFIX/drive_c/Program Files/Kölvane Ωmega 星"
forget() {
  for key in "$settings" "$apps" "$machine"; do wine reg delete "$key" /f >/dev/null 2>&1 || true; done
  wine reg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null 2>&1 || true
  rm -rf "$instdir" "$accepted" "$refused"
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
  local name folder=${1:-$instdir}
  [ ! -e "$sysdir/kolvane.scr" ] || return 1
  for name in "${!sources[@]}"; do [ ! -e "$folder/$name" ] || return 1; done
  [ ! -e "$folder" ]
}
apps_entry_gone() { ! wine reg query "$apps" >/dev/null 2>&1; }
# What a failed run must keep: every installed file, the uninstaller and the Apps entry.
installation_kept() {
  local name
  [ -e "$sysdir/kolvane.scr" ] || fail "$1: kolvane.scr is gone"
  for name in "${!sources[@]}"; do [ -e "$instdir/$name" ] || fail "$1: $name is gone"; done
  [ "$(reg_value "$apps" DisplayName)" = 'Kolvane Screen Saver' ] || fail "$1: the Apps entry is gone"
}
# The installer with a command line as typed (an argument with blanks is not quoted: /D= takes the rest).
setup_with() { timeout 120 wine cmd /c "Z:$(tr / '\\' <<<"$setup") $*"; }
# The run's exit code (0 too) without ending the check under set -e.
code_of() { "$@" && echo 0 || echo $?; }
# A scene from the installed kolvane.scr, its window's id printed.
scene_from_system_folder() {
  start "$1" /S
  window "$scene_title" || fail "no scene ($1)"
}

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
# A reg run that Wine could not start reads as empty: the value is read again until it settles.
install_path_is() { [ "$(reg_value "$1" install_path)" = 'C:\Program Files\Kolvane\' ]; }
for key in "$settings" "$machine"; do
  eventually install_path_is "$key" || fail "install_path under $key is '$(reg_value "$key" install_path)'"
done
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

echo "-- kolvane.scr /S from the system folder runs the scene with the installed sounds, for a user with no"
echo "   install_path of their own (another account installed it)"
store_value "$settings" cycle_speed_value 100
store_value "$desktop" ScreenSaveUsePassword 0
delete_value "$settings" install_path
start scene /S
win=$(window "$scene_title") || fail "no scene (install-folder message: $(xdotool search --name '^Kolvane Screen Saver$' | wc -l))"
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
store_value "$settings" install_path 'C:\Program Files\Kolvane\'

echo "-- an upgrade while the scene runs ends the scene and replaces kolvane.scr"
# An older kolvane.scr: the one built with bytes after its end, which Windows ignores.
cp "$scr" "$work/older.scr"
printf 'older' >>"$work/older.scr"
cp "$work/older.scr" "$sysdir/kolvane.scr"
scene_from_system_folder upgraded >/dev/null
code=$(code_of timeout 120 wine "$setup" /S)
[ "$code" = 0 ] || fail "the upgrade ended with code $code"
no_window "$scene_title" || fail "the scene still runs after the upgrade"
cmp -s "$scr" "$sysdir/kolvane.scr" || fail "the upgrade ended with code 0 and kept the older kolvane.scr"

echo "-- a scene that asks for its password first is not ended: the upgrade and the uninstall fail and keep it all"
cp "$work/older.scr" "$sysdir/kolvane.scr"
store_value "$desktop" ScreenSaveUsePassword 1
scene_from_system_folder protected >/dev/null
code=$(code_of timeout 120 wine "$setup" /S)
[ "$code" != 0 ] || fail "the upgrade ended with code 0 while the scene held kolvane.scr"
cmp -s "$work/older.scr" "$sysdir/kolvane.scr" || fail "kolvane.scr changed under the running scene"
installation_kept "the failed upgrade"
# Run in place (_?=, which takes no quotes) so that its own exit code is seen.
code=$(code_of timeout 60 wine "$instdir/uninstall.exe" /S '_?=C:\PROGRA~1\Kolvane')
[ "$code" != 0 ] || fail "the uninstall ended with code 0 while the scene held kolvane.scr"
installation_kept "the failed uninstall"
[ -n "$(xdotool search --name "$scene_title" 2>/dev/null)" ] || fail "the protected scene was ended"
store_value "$desktop" ScreenSaveUsePassword 0

echo "-- the Apps entry's quiet uninstall, the scene still running, ends it and removes every installed file and"
echo "   itself, and keeps the user's files"
# The program between the quotes, then its switches, as Apps would start it.
quiet=$(reg_value "$apps" QuietUninstallString)
uninstaller=${quiet#\"}
uninstaller=${uninstaller%%\"*}
timeout 60 wine "$uninstaller" ${quiet##*\" } || fail "the silent uninstall ended with code $?"
eventually installed_files_gone || fail "left behind: $(ls -A "$instdir" 2>/dev/null | tr '\n' ' ') $(ls "$sysdir/kolvane.scr" 2>/dev/null)"
eventually apps_entry_gone || fail "the Apps entry stayed"
no_window "$scene_title" || fail "the scene still runs after the uninstall"
[ -z "$(reg_value "$machine" install_path)" ] || fail "the install_path of every user stayed"
[ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ] || fail "the current screen saver still names the removed file"
cmp -s "$work/captions" "$windir/Kolvane Captions.dat" ||
  fail "the caption list was not kept: $(diff "$work/captions" "$windir/Kolvane Captions.dat" | head -5)"
cmp -s "$work/audio" "$windir/Kolvane Audio Files.dat" || fail "the audio list was not kept"
[ "$(reg_value "$settings" cycle_speed_value)" = 100 ] || fail "the user's settings were not kept"
[ "$(reg_value "$settings" install_path)" = 'C:\Program Files\Kolvane\' ] || fail "install_path was not kept"

echo "-- a folder named with letters of the code page (Kölvane) installs, and the program finds its sounds there"
forget
code=$(code_of setup_with '/S /D=C:\Program Files\Kölvane')
[ "$code" = 0 ] || fail "the install into Kölvane ended with code $code"
[ -s "$accepted/orvel1.wav" ] || fail "nothing was installed into $accepted"
start accepted /S
win=$(window "$scene_title") || fail "no scene from Kölvane (install-folder message: $(xdotool search --name '^Kolvane Screen Saver$' | wc -l))"
for _ in 1 2 3; do
  point_at "$win"
  xdotool key x
  code=$(ended accepted) && break
done
[ "${code:-}" = 0 ] || fail "the scene from Kölvane did not end on a key with code 0 (${code:-still running})"
# The list file is in the code page the program reads its settings with.
first=$(head -1 "$windir/Kolvane Audio Files.dat" | iconv -f CP1252 | tr -d '\r')
[ "$first" = 'C:\Program Files\Kölvane\orvel1.wav' ] || fail "the default audio list starts with '$first'"
timeout 60 wine "$accepted/uninstall.exe" /S || fail "the uninstall from Kölvane ended with code $?"
eventually installed_files_gone "$accepted" || fail "left behind in Kölvane: $(ls -A "$accepted" 2>/dev/null | tr '\n' ' ')"

echo "-- a folder named with letters outside the code page (Ω, 星) is refused, and nothing is installed"
forget
code=$(code_of setup_with '/S /D=C:\Program Files\Kölvane Ωmega 星')
[ "$code" != 0 ] || fail "the install into a folder the program cannot read back ended with code 0"
[ ! -e "$refused" ] && [ ! -e "$sysdir/kolvane.scr" ] && apps_entry_gone || fail "the refused install left files or an entry"

echo "-- the program told of a folder it reads back as another, missing one"
mkdir -p "$refused"
# reg query prints such a name in the console's code page: the value is stored unchecked.
set_value "$settings" install_path 'C:\Program Files\Kölvane Ωmega 星\'
program=$scr
start mangled /S
win=$(window '^Kolvane Screen Saver$') || fail "no install-folder message for a folder the program cannot read"
point_at "$win"
xdotool key Return
ended mangled >/dev/null || fail "the program did not end after its install-folder message"
echo "Windows installer checks passed"
