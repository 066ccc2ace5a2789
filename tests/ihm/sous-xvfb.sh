#!/usr/bin/env bash
# Runs a window test under a private X server, with a private runtime folder removed afterwards.
set -euo pipefail
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
export QT_QPA_PLATFORM=xcb
# Not exec: the trap must run once the test is over.
xvfb-run -a -s "-screen 0 1280x800x24" "$@"
