#!/usr/bin/env bash
# Builds the program and opens the example vault in it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/installer-dependances.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target arkalune
# Without an argument, the example vault is opened.
if [ $# -eq 0 ]; then set -- exemples/voute.arkl; fi
exec build/app/arkalune "$@"
