#!/usr/bin/env bash
# Fails when a C++ file of the repository is not laid out as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "verifier-format.sh : mise en forme conforme"
