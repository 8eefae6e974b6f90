#!/usr/bin/env bash
# Runs a command on a virtual X display of its own (1024x768, the server's default US keyboard layout).
set -euo pipefail
# The first display number tried is drawn at random: other tests start virtual displays meanwhile.
# -noreset: the tests connect and disconnect one after another; a server resetting after its last
# client left would refuse the next one for a moment.
exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$@"
