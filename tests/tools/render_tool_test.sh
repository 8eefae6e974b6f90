#!/usr/bin/env bash
# The frame renderer's options: bad values are refused with a message and exit code 2, and no run leaves its temporary folder.
#   render_tool_test.sh KOLVANE_RENDER ASSETS
set -uo pipefail
render=$1 assets=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The renderer's private folder goes under TMPDIR: an empty one shows that nothing was left behind.
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# run EXPECTED_CODE ARGS...: runs the renderer, keeps its messages in $work/err, checks the code and TMPDIR.
run() {
    local expected=$1; shift
    "$render" "$@" >/dev/null 2>"$work/err"
    local code=$?
    [ "$code" = "$expected" ] || fail "$* exited $code, not $expected: $(head -c 300 "$work/err")"
    [ -z "$(ls -A "$TMPDIR")" ] || fail "$* left $(ls -A "$TMPDIR") in the temporary folder"
    rm -rf "${TMPDIR:?}"/*
}
said() { grep -q -- "$1" "$work/err" || fail "no message \"$1\" for $2: $(head -c 300 "$work/err")"; }

# --out naming a file: an error, and the file is left as it was.
echo "keep me" >"$work/plain"
run 2 --size 64x48 --frames 1 --out "$work/plain"
said "is not a folder" "--out naming a file"
[ "$(cat "$work/plain")" = "keep me" ] || fail "--out overwrote the file it named"
run 2 --size 64x48 --frames 1 --out "$work/plain/below"
run 0 --size 64x48 --frames 2 --every 1 --out "$work/frames/deeper"
[ -f "$work/frames/deeper/frame000002.bmp" ] || fail "no frame written into the folder --out made"

# Sizes: each side 16 to 8192, and nothing but WxH.
for size in 8193x16 16x8193 15x48 64x15 0x0 -64x48 64x48junk 64x 64 x48 " 64x48" 64x48x2 64X48; do
    run 2 --size "$size" --frames 1
    said "--size" "--size $size"
done
run 0 --size 8192x16 --frames 1
run 0 --size 16x8192 --frames 1
run 0 --size 64x48 --frames 1

# Other numbers must be whole numbers in range too.
for option in "--frames 10abc" "--frames -1" "--every 0" "--every 2x" "--seed 12q" "--seed -3" "--transition-every z"; do
    # shellcheck disable=SC2086
    run 2 --size 64x48 $option
done

# --set takes only keys the settings hold, and says which one it did not know.
run 2 --size 64x48 --frames 1 --set no_such_key=5
said "no_such_key" "--set no_such_key=5"
run 2 --size 64x48 --frames 1 --set frame_rate
run 0 --size 64x48 --frames 1 --set frame_rate=20 --set object_frequency=3 --set show_time=0

# A run that fails part-way removes its temporary folder as a finished one does.
run 1 --size 64x48 --frames 1 --trace "$work/missing/trace.json"
said "cannot write" "a trace in a missing folder"
run 0 --size 64x48 --frames 3 --trace "$work/trace.json"
[ "$(wc -l <"$work/trace.json")" = 3 ] || fail "the trace does not hold 3 frames"

# Pictures that are folders or FIFOs stay black with a message; the run completes.
mkdir -p "$work/assets/backgrounds"
cp "$assets"/*.bmp "$work/assets/" && cp "$assets"/backgrounds/*.bmp "$work/assets/backgrounds/"
rm "$work/assets/backgrounds/bg0.bmp" "$work/assets/sprite.bmp"
mkdir "$work/assets/backgrounds/bg0.bmp"
mkfifo "$work/assets/sprite.bmp"
run 0 --size 64x48 --frames 2 --assets "$work/assets"
said "stay black" "pictures that are a folder and a FIFO"

[ "$failures" = 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "renderer options: all checks passed"
