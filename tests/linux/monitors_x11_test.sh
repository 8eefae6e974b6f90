#!/usr/bin/env bash
# The full-screen scene on two monitors side by side: it covers both, draws on both and holds the input.
# Runs its own X server with the dummy video driver, whose outputs are real monitors to every client,
# which a virtual frame buffer server cannot give. Arguments: program, test host helper, assets folder.
# Skips (exit 77) when the X server or its dummy driver is not installed.
set -euo pipefail
program=$1 host_helper=$2 assets=$3
xorg=$(command -v Xorg || true)
[ -n "$xorg" ] && [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] || { echo "no Xorg with the dummy driver"; exit 77; }

source "$(dirname "$0")/../x11_scratch.sh"
fail() { echo "FAIL: $*" >&2; [ -f "$work/xorg.log" ] && grep -E '\(EE\)' "$work/xorg.log" >&2; exit 1; }
ok() { echo "ok - $*"; }

# Two 800x600 monitors side by side on one 1600x600 screen.
cat >"$work/xorg.conf" <<'EOF'
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 32768
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "800x600"
    Virtual 1600 600
  EndSubSection
EndSection
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
EOF

# The first display number tried is random, as other virtual displays may start meanwhile.
for _ in 1 2 3 4 5; do
  display=$((100 + RANDOM % 800))
  [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
"$xorg" ":$display" -config "$work/xorg.conf" -logfile "$work/xorg.log" -noreset -nolisten tcp \
  -novtswitch -sharevts >/dev/null 2>&1 &
pids+=("$!")
export DISPLAY=:$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "the X server did not start"

# The second output goes to the right of the first.
outputs=($(xrandr | awk '/ connected| disconnected/ { print $1 }'))
[ ${#outputs[@]} -ge 2 ] || fail "the dummy driver offers ${#outputs[@]} output(s)"
xrandr --addmode "${outputs[1]}" 800x600 2>/dev/null || true
xrandr --output "${outputs[0]}" --mode 800x600 --pos 0x0 --output "${outputs[1]}" --mode 800x600 --pos 800x0 ||
  fail "the outputs could not be placed side by side"
[ "$(xrandr --listactivemonitors | head -1)" = "Monitors: 2" ] || fail "not two monitors: $(xrandr --listactivemonitors)"
ok "two monitors: $(xrandr --listactivemonitors | tail -n +2 | awk '{ print $3 }' | tr '\n' ' ')"

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data SDL_AUDIODRIVER=dummy KOLVANE_DATA=$assets
unset XSCREENSAVER_WINDOW XDG_CURRENT_DESKTOP
mkdir -p "$HOME" "$XDG_CONFIG_HOME/kolvane"
printf '[Config]\ninstall_path=%s/sounds\n[Desktop]\nScreenSaveUsePassword=1\n' "$assets" \
  >"$XDG_CONFIG_HOME/kolvane/settings.ini"

"$program" /S 2>"$work/stderr" &
pid=$!
pids+=("$pid")
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^screen saver running$' | head -1) ||
  fail "no scene window: $(cat "$work/stderr")"
sleep 1
geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
  /Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h "+" x "+" y }')
[ "$geometry" = "1600x600+0+0" ] || fail "the scene window is $geometry, not both monitors"
ok "the scene window covers both monitors ($geometry)"

# Both halves show the scene, not a desktop: many colours on each monitor.
import -window root "$work/both.png"
for half in 800x600+0+0 800x600+800+0; do
  colours=$(convert "$work/both.png" -crop "$half" -format %k info:)
  [ "$colours" -gt 200 ] || fail "the monitor at $half shows $colours colours"
done
ok "the scene is drawn on both monitors"

# A protected scene holds the keyboard and the pointer on every monitor. The probe's window maps at
# 0,0, under the pointer the scene put there: the scene's window loses the pointer, which makes SDL let
# go of the keyboard, and the scene takes it back in the same round of events.
mkfifo "$work/probe.in" "$work/probe.out"
"$host_helper" 1 1 <"$work/probe.in" >"$work/probe.out" &
pids+=("$!")
exec {probe_in}>"$work/probe.in" {probe_out}<"$work/probe.out"
read -r _ _ <&"$probe_out"
sleep 0.2
echo grab >&"$probe_in"
read -r answer <&"$probe_out"
[ "$answer" = "keyboard-held pointer-held" ] || fail "a protected scene leaves input free: $answer"
ok "a protected scene holds the keyboard and the pointer"

# The pointer moved onto the second monitor brings up the prompt, and the empty password ends the scene.
xdotool mousemove 1200 300 sleep 0.1 mousemove 1300 400 sleep 0.1 mousemove 1400 500 key a
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the protected scene ended without the password"
xdotool key Return
for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$pid" 2>/dev/null; then fail "the right password did not end the scene"; fi
set +e; wait "$pid"; rc=$?; set -e
[ "$rc" = 0 ] || fail "the scene ended with code $rc"
ok "the password ends the scene with code 0"
