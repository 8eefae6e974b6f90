# What the Wine-in-Xvfb checks of kolvane.scr share: the registry keys and folders they read, a scratch folder
# whose processes end with the check, a failure that keeps a screenshot, and helpers. Sourced after
# `set -euo pipefail` as
#   source "$(dirname "$0")/wine_common.sh" NAME    (the screenshot is kolvane-NAME-failure.png)
# then begin_scratch; a check with more to take back defines check_cleanup, which runs before the folder goes.
# `program` (what `start` runs, as Wine names it) is set before the first start.
: "${WINEPREFIX:?}" "${DISPLAY:?}"
export WINEDEBUG=-all
check_name=$1
settings='HKCU\Software\VB and VBA Program Settings\Dravik Kolvane\Config'
desktop='HKCU\Control Panel\Desktop'
windir="$WINEPREFIX/drive_c/windows"

# A scratch folder ($work) and the processes the check starts (in pids, or their numbers in $work/*.pid).
begin_scratch() {
  work=$(mktemp -d)
  pids=()
  trap end_scratch EXIT
}
end_scratch() {
  for f in "$work"/*.pid; do [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null; done
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  if declare -F check_cleanup >/dev/null; then check_cleanup; fi
  rm -rf "$work"
}

fail() {
  local shot="${TMPDIR:-/tmp}/kolvane-$check_name-failure.png"
  echo "FAIL: $*" >&2
  import -window root "$shot" 2>/dev/null && echo "screenshot: $shot" >&2
  exit 1
}

set_value() { wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; }
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
# A reg run that Wine could not start changes nothing and says so in no way: these check and try again.
store_value() {
  for _ in 1 2 3 4 5; do
    set_value "$@"
    [ "$(reg_value "$1" "$2")" = "$3" ] && return 0
    sleep 0.5
  done
  fail "could not store $2 in the registry"
}
delete_value() {
  local listing
  for _ in 1 2 3 4 5; do
    wine reg delete "$1" /v "$2" /f >/dev/null 2>&1 || true
    listing=$(wine reg query "$1" 2>/dev/null | tr -d '\r')
    [ -n "$listing" ] && ! grep -q "^ *$2 " <<<"$listing" && return 0
    sleep 0.5
  done
  fail "could not delete $2 from the registry"
}

# Starts the program in the background; its exit code lands in $work/<name>.rc, its errors in <name>.err.
start() {
  local name=$1
  shift
  (
    set +e
    wine "$program" "$@" >/dev/null 2>"$work/$name.err" &
    echo $! >"$work/$name.pid"
    wait $!
    echo $? >"$work/$name.rc"
    rm -f "$work/$name.pid"
  ) &
  pids+=($!)
}
# Waits up to 10 seconds for the run to end; prints its exit code.
ended() {
  for _ in $(seq 100); do
    [ -s "$work/$1.rc" ] && { cat "$work/$1.rc"; return 0; }
    sleep 0.1
  done
  return 1
}
# A cold Wine server can take many seconds to bring up the first window of a run.
window() { timeout 30 xdotool search --sync --name "$1" | head -1; }
# True once no window has that title (a closed window may take a moment to leave the X server).
no_window() {
  for _ in $(seq 30); do
    [ -z "$(xdotool search --name "$1" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}
# Focus follows the pointer: the pointer goes over a window before its keys.
point_at() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.3
}
