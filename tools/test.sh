#!/usr/bin/env bash
# Second README command: install, build and run the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j2 --timeout 900
