#!/usr/bin/env bash
# First README command: install, build, lay out build/tamvex, run the main job.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
cd "$root/build/tamvex"
if [ -x ./tamvex ]; then
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---no-sandbox}"
  exec ./tamvex
fi
exec ./tamvex-cli search ""
