# A scratch folder ($work) for a check on an X display, and the processes it starts (in pids), all gone when the
# check ends. Sourced after `set -euo pipefail`.
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
