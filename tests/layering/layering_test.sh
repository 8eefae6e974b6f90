#!/usr/bin/env bash
# Runs scripts/check-layers on small trees built here, then on the repository given as the argument.
#   layering_test.sh REPO      (LAYERS_SKIP_REAL=1 skips the repository, for runs before it is layered)
set -euo pipefail
checker=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/check-layers
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
fail() { echo "FAIL: $*" >&2; exit 1; }

# Writes a file under the tree; the remaining arguments become its lines.
put() {
  local file=$tree/$1
  shift
  mkdir -p "$(dirname "$file")"
  printf '%s\n' "// Test file." "$@" >"$file"
}

# Runs the checker (or the one given) on the tree; its output goes to $work/out and its exit code to $code.
check() {
  set +e
  "${1:-$checker}" "$tree" >"$work/out" 2>&1
  code=$?
  set -e
}

expect_pass() {
  check
  [ "$code" = 0 ] || fail "$1: exit $code: $(cat "$work/out")"
  grep -q "no forbidden include" "$work/out" || fail "$1: no summary: $(cat "$work/out")"
}

# Expects exactly one violation, the given line.
expect_violation() {
  check
  [ "$code" = 1 ] || fail "expected a violation, exit $code: $(cat "$work/out")"
  grep -qxF "$1" "$work/out" || fail "missing '$1' in: $(cat "$work/out")"
  local count
  count=$(grep -c ' may not use ' "$work/out" || true)
  [ "$count" = 1 ] || fail "$count violations instead of one: $(cat "$work/out")"
}

# 1. A tree that follows the layering: one or two files per unit, each using what it may.
put ports/display.h '#pragma once' '#include <cstdint>'
put password/password_codec.h '#include "ports/display.h"'
put startup/settings.cpp '#include "startup/settings.h"' '#include "password/password_codec.h"' '#include "ports/display.h"'
put startup/settings.h '#include <string>'
put lists/lists.h '#include "startup/settings.h"'
put scene/scene_window.cpp '#include "scene/render/compositor.h"' '#include "scene/sprites/sprite_table.h"' \
  '#include "lists/lists.h"'
put scene/scene_state.h '#include "password/password_codec.h"'
put scene/sprites/sprite_table.h '#include "scene/scene_state.h"' '#include "lists/lists.h"'
put scene/render/compositor.h '#include "scene/sprites/sprite_table.h"' '#include "scene/scene_state.h"'
put preview/preview.cpp '#include "startup/settings.h"'
put config_ui/config_dialog.cpp '#include "scene/render/compositor.h"' '#include "lists/lists.h"'
put app/app.h '#include "config_ui/config_dialog.h"' '#include "preview/preview.h"' '#include "scene/scene_state.h"'
put platform/headless/headless_platform.cpp '#include "app/app.h"' '#include "scene/sprites/sprite_table.h"'
put platform/sdl/main_linux.cpp '#include "app/app.h"' '#include <SDL.h>'
put platform/win32/winmain.cpp '#include "app/app.h"' '#include <windows.h>'
put tools/render/main.cpp '#include "platform/headless/headless_platform.h"' '#include "app/app.h"'
put bench/render_bench.cpp '#include "platform/headless/headless_platform.h"' '#include "scene/render/compositor.h"'
put scene/notes.txt '#include "app/app.h"'
expect_pass "layered tree"
grep -q "^layers: 17 files, 27 includes, no forbidden include$" "$work/out" \
  || fail "wrong counts: $(cat "$work/out")"

# 2. Forbidden includes, one at a time, each named with its file, line, header and both units.
put scene/sprites/launcher.cpp '#include "scene/sprites/launcher.h"' '#include "app/app.h"'
expect_violation 'scene/sprites/launcher.cpp:3: includes "app/app.h": scene/sprites may not use app'
rm "$tree/scene/sprites/launcher.cpp"
put startup/random.cpp '#include "lists/lists.h"'
expect_violation 'startup/random.cpp:2: includes "lists/lists.h": startup may not use lists'
rm "$tree/startup/random.cpp"
put scene/sprites/motion.h '#pragma once' '' '#include "scene/render/surface.h"'
expect_violation 'scene/sprites/motion.h:4: includes "scene/render/surface.h": scene/sprites may not use scene/render'
rm "$tree/scene/sprites/motion.h"
put platform/sdl/ini_store.h '#include "platform/headless/headless_platform.h"'
expect_violation 'platform/sdl/ini_store.h:2: includes "platform/headless/headless_platform.h": platform/sdl may not use platform/headless'
rm "$tree/platform/sdl/ini_store.h"
put scene/audio.cpp '  #  include "tests/test_app.h"'
expect_violation 'scene/audio.cpp:2: includes "tests/test_app.h": scene may not use (no unit)'
rm "$tree/scene/audio.cpp"
expect_pass "tree after the forbidden files are gone"

# 3. Angle includes and files outside every unit are not checked.
put scene/sprites/motion.cpp '#include <app/app.h>' '#include <scene/render/surface.h>'
put tests/scene_test.cpp '#include "app/app.h"' '#include "platform/sdl/main_linux.h"'
put tools/assetgen/main.cpp '#include "app/app.h"' '#include "core.h"'
expect_pass "angle includes and files outside the units"
grep -q "^layers: 18 files, 27 includes, no forbidden include$" "$work/out" \
  || fail "files outside the units or angle includes counted: $(cat "$work/out")"

# A cycle in the table fails the check and names the units on it.
sed 's/^    "ports": "",$/    "ports": "app",/' "$checker" >"$work/cyclic"
cmp -s "$checker" "$work/cyclic" && fail "could not put a cycle in the table"
chmod +x "$work/cyclic"
check "$work/cyclic"
[ "$code" = 1 ] || fail "a cyclic table passed: $(cat "$work/out")"
grep -q "^layers: cycle in the table: .*ports -> app" "$work/out" || fail "no cycle named: $(cat "$work/out")"

# 4. The repository itself.
if [ "${LAYERS_SKIP_REAL:-}" = 1 ]; then
  echo "layering: synthetic trees passed; the repository was skipped (LAYERS_SKIP_REAL=1)"
  exit 0
fi
[ $# -ge 1 ] || fail "usage: $0 REPO"
"$checker" "$1" || fail "forbidden includes in $1"
echo "layering: all checks passed"
