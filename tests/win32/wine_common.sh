# Helpers shared by the Wine-in-Xvfb checks of kolvane.scr; sourced after `work` (a temp folder),
# `pids` (an array) and `program` (what `start` runs, as Wine names it) are set.
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
